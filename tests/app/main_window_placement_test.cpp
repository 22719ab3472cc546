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
        // The offscreen platform has one screen of 800 x 800.
        {"a size past the screen", "[Window]\r\nState=Normal\r\nWidth=100000\r\nHeight=100000\r\n", false,
         QRect(0, 0, 800, 800)},
        {"a place on a screen that is gone", "[Window]\r\nState=Normal\r\nLeft=3000\r\nTop=-2000\r\n", false,
         QRect(106, 0, 694, 486)},
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

TEST(MainWindowPlacement, ASettingsFileTooLargeToReadIsReportedOnceAndKeptAsItIs) {
    TempFolder dir;
    const std::string big = "[Window]\r\nState=Else\r\n" + std::string(size_t{17} << 20, ';');
    dir.write("KX2cfg.ini", big);
    FakeServices fakes;
    {
        TKX2 window(fakes.services(dir.path()));
        EXPECT_FALSE(window.windowState() & Qt::WindowMaximized);  // read as if empty
        window.show();
        window.close();
    }
    EXPECT_EQ(fakes.dialogs.messages(),
              QStringList{QString::fromStdString(dir.file("KX2cfg.ini")) + " は大きすぎて読めません"});
    EXPECT_TRUE(dir.read("KX2cfg.ini") == big);
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
