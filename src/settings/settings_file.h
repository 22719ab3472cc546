#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/colour_value.h"
#include "platform/profile_file.h"

namespace tarvelin {

// The colour keys of section "Color", in the order the settings dialog writes them.
enum class ColourKey {
    ftBack,
    ftText,
    flBack,
    flText,
    fiBack,
    fiText,
    vtBack,
    vtText,
    riBack,
    riText,
    AppBody
};

struct ColourKeyInfo {
    ColourKey key;
    std::string_view name;
    ColourValue defaultValue;
};

inline constexpr std::array<ColourKeyInfo, 11> kColourKeys{{
    {ColourKey::ftBack, "ftBack", kWindowBackground},
    {ColourKey::ftText, "ftText", kWindowText},
    {ColourKey::flBack, "flBack", kWindowBackground},
    {ColourKey::flText, "flText", kWindowText},
    {ColourKey::fiBack, "fiBack", kTooltipText},
    {ColourKey::fiText, "fiText", kTooltipBackground},
    {ColourKey::vtBack, "vtBack", kWindowBackground},
    {ColourKey::vtText, "vtText", kWindowText},
    {ColourKey::riBack, "riBack", kTooltipBackground},
    {ColourKey::riText, "riText", kTooltipText},
    {ColourKey::AppBody, "AppBody", kButtonFace},
}};

const ColourKeyInfo& colourKeyInfo(ColourKey key);

// "KX2cfg.ini" in the program folder, with one typed accessor per key. Readers pass their own default where
// it differs from the usual one; nothing is kept between calls.
class SettingsFile {
public:
    explicit SettingsFile(const std::string& programFolder);

    static std::string pathIn(const std::string& programFolder);
    const std::string& path() const { return m_profile.path(); }
    // Every key then reads its default and every write throws "%s は大きすぎて読めません".
    bool tooLargeToRead() const { return m_profile.tooLargeToRead(); }

    // [Folder]
    std::string dlgDir(std::string_view defaultValue = "") const;
    void setDlgDir(std::string_view value);
    std::string treeDir(std::string_view defaultValue = "") const;
    void setTreeDir(std::string_view value);

    // [Color]
    ColourValue colour(ColourKey key) const;
    ColourValue colour(ColourKey key, ColourValue defaultValue) const;
    void setColour(ColourKey key, ColourValue value);

    // [Actions]
    bool nodeCollapse(bool defaultValue = false) const;
    void setNodeCollapse(bool value);

    // [Open] Files: the auto-open switch
    bool openFiles(bool defaultValue = false) const;
    void setOpenFiles(bool value);

    // [Window]
    std::string windowState(std::string_view defaultValue = kNormalState) const;
    void setWindowState(std::string_view value);
    int32_t windowWidth(int32_t defaultValue = 694) const;
    int32_t windowHeight(int32_t defaultValue = 486) const;
    int32_t windowLeft(int32_t defaultValue = 0) const;
    int32_t windowTop(int32_t defaultValue = 0) const;
    void setWindowWidth(int32_t value);
    void setWindowHeight(int32_t value);
    void setWindowLeft(int32_t value);
    void setWindowTop(int32_t value);

    static constexpr std::string_view kNormalState = "Normal";
    static constexpr std::string_view kElseState = "Else";
    static constexpr std::string_view kDesktopRoot = "rfDesktop";

private:
    ProfileFile m_profile;
};

}  // namespace tarvelin
