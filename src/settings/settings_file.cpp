#include "settings/settings_file.h"

namespace tarvelin {
namespace {

constexpr std::string_view kFolder = "Folder";
constexpr std::string_view kColor = "Color";
constexpr std::string_view kActions = "Actions";
constexpr std::string_view kOpen = "Open";
constexpr std::string_view kWindow = "Window";

}  // namespace

const ColourKeyInfo& colourKeyInfo(ColourKey key) {
    return kColourKeys[static_cast<size_t>(key)];
}

std::string SettingsFile::pathIn(const std::string& programFolder) {
    return programFolder + "KX2cfg.ini";
}

SettingsFile::SettingsFile(const std::string& programFolder) : m_profile(pathIn(programFolder)) {}

std::string SettingsFile::dlgDir(std::string_view d) const {
    return m_profile.readString(kFolder, "DlgDir", d);
}
void SettingsFile::setDlgDir(std::string_view v) {
    m_profile.writeString(kFolder, "DlgDir", v);
}
std::string SettingsFile::treeDir(std::string_view d) const {
    return m_profile.readString(kFolder, "TreeDir", d);
}
void SettingsFile::setTreeDir(std::string_view v) {
    m_profile.writeString(kFolder, "TreeDir", v);
}

ColourValue SettingsFile::colour(ColourKey key) const {
    return colour(key, colourKeyInfo(key).defaultValue);
}

ColourValue SettingsFile::colour(ColourKey key, ColourValue defaultValue) const {
    return fromStored(m_profile.readInteger(kColor, colourKeyInfo(key).name, toStored(defaultValue)));
}

void SettingsFile::setColour(ColourKey key, ColourValue value) {
    m_profile.writeInteger(kColor, colourKeyInfo(key).name, toStored(value));
}

bool SettingsFile::nodeCollapse(bool d) const {
    return m_profile.readBool(kActions, "NodeCollapse", d);
}
void SettingsFile::setNodeCollapse(bool v) {
    m_profile.writeBool(kActions, "NodeCollapse", v);
}

bool SettingsFile::openFiles(bool d) const {
    return m_profile.readBool(kOpen, "Files", d);
}
void SettingsFile::setOpenFiles(bool v) {
    m_profile.writeBool(kOpen, "Files", v);
}

std::string SettingsFile::windowState(std::string_view d) const {
    return m_profile.readString(kWindow, "State", d);
}
void SettingsFile::setWindowState(std::string_view v) {
    m_profile.writeString(kWindow, "State", v);
}
int32_t SettingsFile::windowWidth(int32_t d) const {
    return m_profile.readInteger(kWindow, "Width", d);
}
int32_t SettingsFile::windowHeight(int32_t d) const {
    return m_profile.readInteger(kWindow, "Height", d);
}
int32_t SettingsFile::windowLeft(int32_t d) const {
    return m_profile.readInteger(kWindow, "Left", d);
}
int32_t SettingsFile::windowTop(int32_t d) const {
    return m_profile.readInteger(kWindow, "Top", d);
}
void SettingsFile::setWindowWidth(int32_t v) {
    m_profile.writeInteger(kWindow, "Width", v);
}
void SettingsFile::setWindowHeight(int32_t v) {
    m_profile.writeInteger(kWindow, "Height", v);
}
void SettingsFile::setWindowLeft(int32_t v) {
    m_profile.writeInteger(kWindow, "Left", v);
}
void SettingsFile::setWindowTop(int32_t v) {
    m_profile.writeInteger(kWindow, "Top", v);
}

}  // namespace tarvelin
