#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>

#include "app/help_document.h"
#include "app/list_windows.h"
#include "app/main_window.h"
#include "app/operation_log.h"
#include "support/controls.h"
#include "support/fake_services.h"
#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using test::control;
using test::FakeServices;
using test::TempFolder;

struct MenuEntry {
    QString name;
    QString caption;
    bool hasIcon;
    bool enabled;
};

std::vector<MenuEntry> entriesOf(const QList<QAction*>& actions) {
    std::vector<MenuEntry> entries;
    for (QAction* a : actions)
        entries.push_back({a->objectName(), a->isSeparator() ? QStringLiteral("-") : a->text(),
                           !a->icon().isNull(), a->isEnabled()});
    return entries;
}

bool operator==(const MenuEntry& a, const MenuEntry& b) {
    return a.name == b.name && a.caption == b.caption && a.hasIcon == b.hasIcon && a.enabled == b.enabled;
}

void PrintTo(const MenuEntry& e, std::ostream* os) {
    *os << e.name.toStdString() << " \"" << e.caption.toStdString() << "\" icon=" << e.hasIcon
        << " enabled=" << e.enabled;
}

TEST(MainWindowLayout, MenuBarHasTheCaptionsIconsAndGroupsInOrder) {
    TempFolder dir;
    FakeServices fakes;
    TKX2 window(fakes.services(dir.path()));
    EXPECT_EQ(entriesOf(control<QMenuBar>(window, "MainMenu1")->actions()),
              (std::vector<MenuEntry>{
                  {"File1", "ﾌｧｲﾙ", false, true},
                  {"Window1", "ｳｨﾝﾄﾞｳ", false, true},
                  {"N1", "設定", false, true},
                  {"Help1", "ﾍﾙﾌﾟ", false, true},
              }));
    std::vector<int> groups;
    for (QAction* a : control<QMenuBar>(window, "MainMenu1")->actions())
        groups.push_back(a->property("group").toInt());
    EXPECT_EQ(groups, (std::vector<int>{2, 4, 6, 6}));

    EXPECT_EQ(entriesOf(control<QMenu>(window, "File1")->actions()),
              (std::vector<MenuEntry>{
                  {"New1", "新規リスト作成", true, true},
                  {"N2", "リストを開く", true, true},
                  {"N3", "-", false, true},
                  {"Exit1", "終了", false, true},
              }));
    EXPECT_EQ(entriesOf(control<QMenu>(window, "Window1")->actions()),
              (std::vector<MenuEntry>{
                  {"rwe1", "並べて表示", false, true},
                  {"N12", "画像ビューアー", false, true},
                  {"N13", "ファイル操作モード切り替え", false, true},
              }));
    EXPECT_EQ(entriesOf(control<QMenu>(window, "Help1")->actions()),
              (std::vector<MenuEntry>{
                  {"Help2", "ヘルプ", false, true},
                  {"About1", "バージョン情報", false, false},
              }));
}

TEST(MainWindowLayout, ControlsHaveTheirNamesPlacesAndSizes) {
    TempFolder dir;
    FakeServices fakes;
    TKX2 window(fakes.services(dir.path()));
    window.show();
    for (const char* name : {"Panel1", "ToolBar2", "Panel2", "ToolBar1", "Splitter1", "TabControl1", "Panel3",
                             "ListBox1", "StatusBar1", "MDIClient"})
        EXPECT_NE(window.findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(control<QWidget>(window, "Panel1")->width(), 230);
    EXPECT_EQ(window.savedLeftPaneWidth(), 230);
    EXPECT_EQ(control<QWidget>(window, "Panel1")->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(control<QSplitter>(window, "Splitter1")->handleWidth(), 2);
    EXPECT_EQ(control<QToolBar>(window, "ToolBar2")->height(), 22);
    EXPECT_EQ(control<QToolBar>(window, "ToolBar1")->height(), 25);
    EXPECT_EQ(control<QToolBar>(window, "ToolBar2")->y(), 0);
    EXPECT_EQ(control<QWidget>(window, "Panel2")->y(), 22);
    EXPECT_FALSE(control<QTabBar>(window, "TabControl1")->isVisible());
    EXPECT_EQ(control<QTabBar>(window, "TabControl1")->shape(), QTabBar::RoundedWest);
    EXPECT_EQ(control<QTabBar>(window, "TabControl1")->minimumWidth(), 23);
    EXPECT_FALSE(control<QWidget>(window, "Panel3")->isVisible());
    EXPECT_TRUE(window.lists().area()->isVisible());
    EXPECT_EQ(control<OperationLog>(window, "ListBox1")->height(), 33);
    EXPECT_EQ(control<QStatusBar>(window, "StatusBar1")->height(), 19);
    EXPECT_LT(control<OperationLog>(window, "ListBox1")->geometry().bottom(),
              control<QStatusBar>(window, "StatusBar1")->geometry().top());
    // The Windows form font, as the Gothic installed here.
    EXPECT_EQ(window.font().family(), "IPAPGothic");
    EXPECT_EQ(window.font().pixelSize(), 12);

    struct Button {
        QToolButton* button;
        const char* hint;
    };
    const Button buttons[] = {
        {control<QToolButton>(window, "ToolButton4"), "新規リスト作成"},
        {control<QToolButton>(window, "ToolButton5"), "リストを開く"},
        {control<QToolButton>(window, "ToolButton6"), "画像ビューアー起動"},
        {control<QToolButton>(window, "ToolButton7"), "ファイル操作モード切替"},
        {control<QToolButton>(window, "ToolButton8"), "ツリーのルートを起動時の表示に戻す"},
        {control<QToolButton>(window, "ToolButton1"), "ツリーのルートをデスクトップに戻す"},
        {control<QToolButton>(window, "ToolButton3"), "選択されたフォルダに新規フォルダ作成"},
        {control<QToolButton>(window, "ToolButton2"), "ファイルリストのフィルター"},
        {control<QToolButton>(window, "ToolButton9"), "ツリーを更新する"},
    };
    for (const Button& b : buttons) {
        EXPECT_EQ(b.button->toolTip(), QString::fromUtf8(b.hint));
        EXPECT_FALSE(b.button->icon().isNull()) << b.hint;
    }
}

TEST(MainWindowLayout, AppliesColoursFromTheSettingsFile) {
    TempFolder dir;
    dir.write("KX2cfg.ini", "[Color]\r\nriBack=255\r\nriText=0x00FF0000\r\nAppBody=-2147483643\r\n");
    FakeServices fakes;
    TKX2 window(fakes.services(dir.path()));
    EXPECT_EQ(control<OperationLog>(window, "ListBox1")->palette().color(QPalette::Base), QColor(255, 0, 0));
    EXPECT_EQ(control<OperationLog>(window, "ListBox1")->palette().color(QPalette::Text), QColor(0, 0, 255));
    const QColor windowBackground = QGuiApplication::palette().color(QPalette::Active, QPalette::Base);
    EXPECT_EQ(window.bodyColour(), kWindowBackground);
    EXPECT_EQ(window.lists().area()->background().color(), windowBackground);
    for (QWidget* w : {static_cast<QWidget*>(control<QToolBar>(window, "ToolBar1")),
                       static_cast<QWidget*>(control<QToolBar>(window, "ToolBar2")),
                       static_cast<QWidget*>(control<QStatusBar>(window, "StatusBar1")),
                       static_cast<QWidget*>(control<QSplitter>(window, "Splitter1")->handle(1))})
        EXPECT_EQ(w->palette().color(QPalette::Window), windowBackground) << w->objectName().toStdString();

    // Applied again after the settings change, as the settings dialog does after OK.
    dir.write("KX2cfg.ini", "[Color]\r\nAppBody=65280\r\n");
    window.ApplyColourSettings();
    EXPECT_EQ(control<QToolBar>(window, "ToolBar2")->palette().color(QPalette::Window), QColor(0, 255, 0));
    EXPECT_EQ(control<OperationLog>(window, "ListBox1")->palette().color(QPalette::Base),
              QGuiApplication::palette().color(QPalette::Active, QPalette::ToolTipBase));
}

TEST(MainWindowLayout, HelpHandsTheHelpDocumentToTheDesktop) {
    TempFolder dir;
    dir.write("TARVELIN2.html", "<html></html>");
    FakeServices fakes;
    TKX2 window(fakes.services(dir.path()));
    control<QAction>(window, "Help2")->trigger();
    EXPECT_EQ(fakes.shell.calls,
              (std::vector<test::Call>{{"openPath", {QString::fromStdString(dir.file("TARVELIN2.html"))}}}));
    EXPECT_TRUE(fakes.dialogs.calls.empty());

    // A desktop with no program for HTML says so, naming the file, rather than doing nothing.
    fakes.shell.opens = false;
    control<QAction>(window, "Help2")->trigger();
    EXPECT_EQ(fakes.dialogs.messages(),
              QStringList{"HTML を表示できるプログラムが見つからないため、ヘルプを開けません\r" +
                          QString::fromStdString(dir.file("TARVELIN2.html"))});
}

TEST(MainWindowLayout, HelpWithoutADocumentSaysSo) {
    TempFolder dir;  // the test program's folder holds no help either
    FakeServices fakes;
    TKX2 window(fakes.services(dir.path()));
    control<QAction>(window, "Help2")->trigger();
    EXPECT_TRUE(fakes.shell.calls.empty());
    EXPECT_EQ(fakes.dialogs.messages(), QStringList{"ヘルプファイル TARVELIN2.html が見つかりません"});
}

TEST(HelpDocument, ProgramFolderThenBesideTheExecutableThenTheInstalledCopy) {
    struct Case {
        std::vector<std::string> holders;  // folders that hold the help
        std::string found;
    };
    const Case cases[] = {
        {{"settings/", "prefix/bin/", "prefix/share/tarvelin2/"}, "settings/"},
        {{"prefix/bin/", "prefix/share/tarvelin2/"}, "prefix/bin/"},
        {{"prefix/share/tarvelin2/"}, "prefix/share/tarvelin2/"},
        {{}, ""},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        for (const char* folder :
             {"settings", "prefix", "prefix/bin", "prefix/share", "prefix/share/tarvelin2"})
            ASSERT_EQ(::mkdir(dir.file(folder).c_str(), 0700), 0);
        for (const std::string& holder : c.holders) dir.write(holder + "TARVELIN2.html", "<html></html>");
        const std::string found = findHelpDocument(dir.file("settings/"), dir.file("prefix/bin/"));
        EXPECT_EQ(found, c.found.empty() ? "" : dir.file(c.found + "TARVELIN2.html")) << c.found;
    }
}

TEST(MainWindowLayout, ExitClosesTheMainWindow) {
    TempFolder dir;
    FakeServices fakes;
    TKX2 window(fakes.services(dir.path()));
    window.show();
    control<QAction>(window, "Exit1")->trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(dir.exists("KX2cfg.ini"));
}

}  // namespace
}  // namespace tarvelin
