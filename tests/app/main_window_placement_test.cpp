#include <gtest/gtest.h>

#include "app/main_window.h"
#include "support/fake_services.h"
#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using test::FakeServices;
using test::TempFolder;

struct PlacementCase {
    const char* name;
    const char* settings;  // nullptr: no settings file
    bool maximised;
    QRect bounds;  // when not maximised
};

TEST(MainWindowPlacement, RestoresTheStoredState) {
    const PlacementCase cases[] = {
        {"no file", nullptr, false, QRect(0, 0, 694, 486)},
        {"Normal", "[Window]\r\nState=Normal\r\nWidth=800\r\nHeight=600\r\nLeft=10\r\nTop=20\r\n", false,
         QRect(10, 20, 800, 600)},
        {"lower case is not Normal", "[Window]\r\nState=normal\r\nWidth=800\r\n", true, {}},
        {"Else", "[Window]\r\nState=Else\r\nWidth=800\r\nHeight=600\r\n", true, {}},
        {"hexadecimal sizes", "[Window]\r\nState=Normal\r\nWidth=0x2B6\r\nHeight=$1E6\r\nLeft=0x10\r\n",
         false, QRect(16, 0, 694, 486)},
        {"bad numbers take the defaults", "[window]\r\nstate=Normal\r\nWidth=abc\r\nHeight=\r\nTop=9\r\n",
         false, QRect(0, 9, 694, 486)},
    };
    for (const PlacementCase& c : cases) {
        TempFolder dir;
        if (c.settings) dir.write("KX2cfg.ini", c.settings);
        FakeServices fakes;
        TKX2 window(fakes.services(dir.path()));
        EXPECT_EQ(window.windowTitle(), "Tarvelin2");
        EXPECT_EQ(bool(window.windowState() & Qt::WindowMaximized), c.maximised) << c.name;
        if (!c.maximised) {
            window.show();
            EXPECT_EQ(window.frameGeometry(), c.bounds) << c.name;
        }
        EXPECT_FALSE(dir.exists("KX2cfg.ini") && !c.settings) << "creation writes nothing";
    }
}

TEST(MainWindowPlacement, KeepsTheStartupTreeRootAsRead) {
    const std::pair<const char*, std::string> cases[] = {
        {nullptr, "rfDesktop"},
        {"[Folder]\r\nTreeDir=\r\n", "rfDesktop"},
        {"[Folder]\r\nTreeDir=rfDesktop\r\n", "rfDesktop"},
        {"[Folder]\r\nTreeDir=/no/such/folder\r\n", "/no/such/folder"},
        {"[Folder]\r\nTreeDir=/tmp\r\n", "/tmp"},
    };
    for (const auto& [settings, root] : cases) {
        TempFolder dir;
        if (settings) dir.write("KX2cfg.ini", settings);
        FakeServices fakes;
        const TKX2 window(fakes.services(dir.path()));
        EXPECT_EQ(window.startupTreeRoot(), root);
        EXPECT_EQ(window.programFolder(), dir.path());
        EXPECT_TRUE(fakes.dialogs.calls.empty());
    }
}

TEST(MainWindowPlacement, ReadsTheActionAndBodyColourSettings) {
    TempFolder dir;
    dir.write("KX2cfg.ini", "[Actions]\r\nNodeCollapse=5\r\n[Color]\r\nAppBody=255\r\n");
    FakeServices fakes;
    const TKX2 window(fakes.services(dir.path()));
    EXPECT_TRUE(window.binderCollapse());
    EXPECT_EQ(window.bodyColour(), 255u);

    TempFolder empty;
    const TKX2 plain(fakes.services(empty.path()));
    EXPECT_FALSE(plain.binderCollapse());
    EXPECT_EQ(plain.bodyColour(), kButtonFace);
}

}  // namespace
}  // namespace tarvelin
