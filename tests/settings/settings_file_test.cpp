#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using test::TempFolder;

TEST(SettingsFile, DefaultsWithoutAFile) {
    TempFolder dir;
    const SettingsFile s(dir.path());
    EXPECT_EQ(s.path(), dir.file("KX2cfg.ini"));
    const std::pair<ColourKey, int32_t> colours[] = {
        {ColourKey::ftBack, -2147483643}, {ColourKey::ftText, -2147483640}, {ColourKey::flBack, -2147483643},
        {ColourKey::flText, -2147483640}, {ColourKey::fiBack, -2147483625}, {ColourKey::fiText, -2147483624},
        {ColourKey::vtBack, -2147483643}, {ColourKey::vtText, -2147483640}, {ColourKey::riBack, -2147483624},
        {ColourKey::riText, -2147483625}, {ColourKey::AppBody, -2147483633}};
    for (const auto& [key, stored] : colours)
        EXPECT_EQ(toStored(s.colour(key)), stored) << colourKeyInfo(key).name;
    EXPECT_EQ(s.dlgDir(), "");
    EXPECT_EQ(s.treeDir(SettingsFile::kDesktopRoot), "rfDesktop");
    EXPECT_FALSE(s.nodeCollapse());
    EXPECT_FALSE(s.openFiles());
    EXPECT_EQ(s.windowState(), "Normal");
    EXPECT_EQ(s.windowWidth(), 694);
    EXPECT_EQ(s.windowHeight(), 486);
    EXPECT_EQ(s.windowLeft(), 0);
    EXPECT_EQ(s.windowTop(), 0);
}

TEST(SettingsFile, KeysLandInTheirSections) {
    TempFolder dir;
    SettingsFile s(dir.path());
    s.setWindowState("Else");
    s.setDlgDir("/d");
    s.setTreeDir("");
    s.setColour(ColourKey::vtText, 255);
    s.setColour(ColourKey::AppBody, kButtonFace);
    s.setNodeCollapse(true);
    s.setOpenFiles(true);
    s.setWindowLeft(-8);
    EXPECT_EQ(dir.read("KX2cfg.ini"),
              "[Window]\r\nState=Else\r\nLeft=-8\r\n[Folder]\r\nDlgDir=/d\r\nTreeDir=\r\n"
              "[Color]\r\nvtText=255\r\nAppBody=-2147483633\r\n[Actions]\r\nNodeCollapse=1\r\n[Open]"
              "\r\nFiles=1\r\n");
    EXPECT_EQ(s.treeDir("rfDesktop"), "");  // an empty value is not the default
    EXPECT_EQ(s.colour(ColourKey::vtText), 255u);
    EXPECT_TRUE(s.openFiles());
    EXPECT_EQ(s.windowLeft(), -8);
}

TEST(SettingsFile, ReadersPassTheirOwnDefaults) {
    TempFolder dir;
    const SettingsFile s(dir.path());
    EXPECT_EQ(s.colour(ColourKey::vtBack, 0x00FFFFFF), 0x00FFFFFFu);
    EXPECT_EQ(s.windowWidth(100), 100);
    EXPECT_TRUE(s.openFiles(true));
}

}  // namespace
}  // namespace tarvelin
