// The browsing panes inside the main window: start-up root, tree-root commands, status line, current file
// list, the filter menu and the pane colours.
#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QSplitter>
#include <QStackedWidget>
#include <QToolButton>

#include "app/main_window.h"
#include "browser/file_list_box.h"
#include "browser/file_list_menu.h"
#include "browser/file_list_model.h"
#include "browser/file_pane.h"
#include "browser/file_panes.h"
#include "browser/shell_tree_view.h"
#include "browser_fixture.h"
#include "support/controls.h"
#include "support/fake_services.h"
#include "widgets/image_list.h"

namespace tarvelin {
namespace {

using test::control;
using test::FakeServices;
using test::TempFolder;

QStringList listed(const FileListBox& list) {
    test::waitForReading(list.files());
    QStringList names;
    for (int row = 0; row < list.model()->rowCount(); ++row)
        names << list.model()->index(row, 0).data().toString();
    return names;
}

void select(FileListBox& list, std::initializer_list<int> rows) {
    test::waitForReading(list.files());
    list.clearSelection();
    for (int row : rows) {
        const QModelIndex index = list.model()->index(row, 0);
        list.selectionModel()->setCurrentIndex(index, QItemSelectionModel::Select);
    }
}

// The information strip of a pane once it has the focused file's time.
QString strip(TKX2& window, bool right) {
    FilePane& pane = right ? window.panes().right() : window.panes().left();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !pane.stripWaiting(); }));
    return pane.label()->text();
}

// The file lists' pop-up menu, made when first asked for.
FileListMenu* popupMenu(TKX2& window) {
    return &window.panes().fileListMenu();
}

// A right click as the desktop delivers it: the press, then the request for the context menu.
void rightClick(FileListBox& list, int row) {
    test::waitForReading(list.files());
    const QPoint at = test::rowCentre(list, row);
    QTest::mousePress(list.viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, at, list.viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(list.viewport(), &menu);
    QTest::mouseRelease(list.viewport(), Qt::RightButton, {}, at);
}

class MainWindowBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::makeFolders(data, {"docs/sub", "other"});
        test::makeFiles(data,
                        {"a.txt", "b.doc", "c.html", "d.htm", "e.xls", "f.EXE", "g.kxd", "noext", "x.TXT"});
        test::makeFiles(data, {"other/o.txt"});
    }

    std::unique_ptr<TKX2> openWindow(const std::string& treeDir) {
        program.write("KX2cfg.ini", "[Folder]\r\nTreeDir=" + treeDir + "\r\n");
        auto window = std::make_unique<TKX2>(fakes.services(program.path()));
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    // The right pane reads its folders when it is first shown, as the two-pane mode shows it.
    static void showRightPane(TKX2& window) { control<QAction>(window, "N13")->trigger(); }

    QString dataFolder() const { return QString::fromStdString(data.path()).chopped(1); }

    TempFolder home;
    test::HomeInTempFolder homeSet{home};
    TempFolder program;
    TempFolder data;
    FakeServices fakes;
};

TEST_F(MainWindowBrowserTest, TheStartUpFolderBecomesTheLeftRootWhenItExists) {
    test::makeFiles(home, {"home/Desktop/on-desktop.txt"});
    const struct {
        std::string treeDir;
        std::string leftRoot;
        std::string leftFolder;
    } cases[] = {
        {data.path(), data.path(), data.path().substr(0, data.path().size() - 1)},
        {data.file("gone"), "rfDesktop", home.file("home/Desktop")},
        {"rfDesktop", "rfDesktop", home.file("home/Desktop")},
    };
    for (const auto& c : cases) {
        auto window = openWindow(c.treeDir);
        EXPECT_EQ(window->startupTreeRoot(), c.treeDir);
        test::waitForReading(*control<ShellTreeView>(*window, "ShellTreeView1")->model());
        EXPECT_EQ(control<ShellTreeView>(*window, "ShellTreeView1")->root(), c.leftRoot) << c.treeDir;
        EXPECT_EQ(control<FileListBox>(*window, "FileListBox1")->files().folder(), c.leftFolder) << c.treeDir;
        EXPECT_FALSE(window->panes().rightMade()) << c.treeDir;
        showRightPane(*window);
        EXPECT_EQ(control<ShellTreeView>(*window, "ShellTreeView2")->root(), "rfDesktop") << c.treeDir;
        EXPECT_EQ(listed(*control<FileListBox>(*window, "FileListBox2")), (QStringList{"on-desktop.txt"}))
            << c.treeDir;
        EXPECT_EQ(control<FileListBox>(*window, "FileListBox1")->files().mask(), "*.*");
    }
}

TEST_F(MainWindowBrowserTest, TheRightPaneIsMadeHiddenInPanel3WhenFirstNeeded) {
    auto window = openWindow(data.path());
    EXPECT_EQ(window->findChild<QSplitter*>("Splitter4"), nullptr);
    window->panes().right();
    EXPECT_TRUE(
        control<QWidget>(*window, "Panel1")->isAncestorOf(control<ShellTreeView>(*window, "ShellTreeView1")));
    EXPECT_TRUE(
        control<QWidget>(*window, "Panel1")->isAncestorOf(control<FileListBox>(*window, "FileListBox1")));
    EXPECT_TRUE(control<QWidget>(*window, "Panel1")->isAncestorOf(control<QLabel>(*window, "Label1")));
    for (QWidget* w : std::initializer_list<QWidget*>{
             control<ShellTreeView>(*window, "ShellTreeView2"), control<QSplitter>(*window, "Splitter4"),
             control<FileListBox>(*window, "FileListBox2"), control<QLabel>(*window, "Label2")}) {
        EXPECT_TRUE(control<QWidget>(*window, "Panel3")->isAncestorOf(w)) << w->objectName().toStdString();
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    }
    EXPECT_TRUE(control<FileListBox>(*window, "FileListBox1")->isVisible());
    EXPECT_EQ(control<QSplitter>(*window, "Splitter4")->handleWidth(), 2);
    EXPECT_GT(control<FileListBox>(*window, "FileListBox1")->geometry().top(),
              control<ShellTreeView>(*window, "ShellTreeView1")->geometry().bottom());
    EXPECT_EQ(control<QLabel>(*window, "Label1")->geometry().bottom(),
              control<QWidget>(*window, "Panel1")->height() - 1);
    EXPECT_TRUE(control<QToolButton>(*window, "ToolButton8")->isEnabled());
    EXPECT_TRUE(control<QToolButton>(*window, "ToolButton1")->isEnabled());
    EXPECT_TRUE(control<QToolButton>(*window, "ToolButton2")->isEnabled());
    EXPECT_TRUE(control<QToolButton>(*window, "ToolButton9")->isEnabled());
    EXPECT_TRUE(control<QToolButton>(*window, "ToolButton3")->isEnabled());
}

TEST_F(MainWindowBrowserTest, TreeRootCommands) {
    auto window = openWindow(data.path());
    control<QToolButton>(*window, "ToolButton1")->click();
    EXPECT_EQ(control<ShellTreeView>(*window, "ShellTreeView1")->root(), "rfDesktop");
    EXPECT_EQ(control<FileListBox>(*window, "FileListBox1")->files().folder(), home.file("home/Desktop"));
    control<QToolButton>(*window, "ToolButton8")->click();
    EXPECT_EQ(control<ShellTreeView>(*window, "ShellTreeView1")->root(), data.path());
    EXPECT_EQ(control<FileListBox>(*window, "FileListBox1")->files().folder(), dataFolder().toStdString());

    showRightPane(*window);
    control<ShellTreeView>(*window, "ShellTreeView2")->setRoot(data.file("other"));
    control<QAction>(*window, "N21")->trigger();
    EXPECT_EQ(control<ShellTreeView>(*window, "ShellTreeView1")->root(), "rfDesktop");
    EXPECT_EQ(control<ShellTreeView>(*window, "ShellTreeView2")->root(), data.file("other"));
    control<QAction>(*window, "N22")->trigger();
    EXPECT_EQ(control<ShellTreeView>(*window, "ShellTreeView2")->root(), "rfDesktop");
    EXPECT_EQ(control<QMenu>(*window, "PopupMenu3")->actions().size(), 2);
    EXPECT_EQ(control<QAction>(*window, "N21")->text(), "左側ツリーのルートをデスクトップに変更");
    EXPECT_EQ(control<QAction>(*window, "N22")->text(), "右側ツリーのルートをデスクトップに変更");
}

TEST_F(MainWindowBrowserTest, RefreshReadsNewFoldersAndReplacesAVanishedRoot) {
    auto window = openWindow(data.file("docs"));
    ShellTreeView& tree = *control<ShellTreeView>(*window, "ShellTreeView1");
    const QModelIndex root = tree.model()->index(0, 0);
    test::waitForReading(*tree.model());
    EXPECT_EQ(tree.model()->rowCount(root), 1);
    test::makeFolders(data, {"docs/new"});
    control<QToolButton>(*window, "ToolButton9")->click();
    test::waitForReading(*tree.model());
    EXPECT_EQ(tree.model()->rowCount(root), 2);
    EXPECT_EQ(tree.root(), data.file("docs"));

    // A start-up folder deleted since: the tree shows it empty, and the refresh goes to the desktop.
    std::filesystem::remove_all(data.file("docs"));
    control<QToolButton>(*window, "ToolButton1")->click();
    control<QToolButton>(*window, "ToolButton8")->click();
    EXPECT_EQ(tree.root(), data.file("docs"));
    EXPECT_EQ(listed(*control<FileListBox>(*window, "FileListBox1")), QStringList());
    EXPECT_EQ(strip(*window, false), "");
    control<QToolButton>(*window, "ToolButton9")->click();
    test::waitForReading(*tree.model());
    EXPECT_EQ(tree.root(), "rfDesktop");
    EXPECT_EQ(control<FileListBox>(*window, "FileListBox1")->files().folder(), home.file("home/Desktop"));
}

TEST_F(MainWindowBrowserTest, TheStatusLineFollowsTheLeftListOnly) {
    auto window = openWindow(data.path());
    showRightPane(*window);
    EXPECT_EQ(window->statusLine(), "");
    control<ShellTreeView>(*window, "ShellTreeView2")->setRoot(data.file("other"));
    test::click(*control<FileListBox>(*window, "FileListBox2"), 0);
    EXPECT_EQ(window->statusLine(), "");
    EXPECT_TRUE(strip(*window, true).startsWith("Last Update : "));

    test::click(*control<FileListBox>(*window, "FileListBox1"), 1);
    EXPECT_EQ(window->statusLine(), "FileListDirectory : " + dataFolder());
    EXPECT_TRUE(strip(*window, false).startsWith("Last Update : "));
    control<FileListBox>(*window, "FileListBox1")->clearSelection();
    EXPECT_EQ(strip(*window, false), "");
    EXPECT_EQ(window->statusLine(), "FileListDirectory : " + dataFolder());

    control<ShellTreeView>(*window, "ShellTreeView2")->setRoot(data.path());
    test::click(*control<FileListBox>(*window, "FileListBox2"), 0);
    control<ShellTreeView>(*window, "ShellTreeView1")->setRoot(data.file("other"));
    EXPECT_EQ(window->statusLine(), "FileListDirectory : " + dataFolder());
}

TEST_F(MainWindowBrowserTest, TheStatusLineReadsEachFolderInItsOwnEncoding) {
    const std::string cp932 = "\x8E\x91\x97\xBF";  // "資料", a folder made on Windows
    std::filesystem::create_directories(data.file(cp932 + "/計画"));
    test::makeFiles(data, {cp932 + "/計画/a.txt"});
    auto window = openWindow(data.path());
    control<ShellTreeView>(*window, "ShellTreeView1")->setRoot(data.file(cp932 + "/計画"));
    test::click(*control<FileListBox>(*window, "FileListBox1"), 0);
    EXPECT_EQ(window->statusLine(), "FileListDirectory : " + dataFolder() + "/資料/計画");
}

TEST_F(MainWindowBrowserTest, TheCurrentFileListIsTheOneFocusedOrRightClickedLast) {
    auto window = openWindow(data.path());
    showRightPane(*window);
    control<ShellTreeView>(*window, "ShellTreeView2")->setRoot(data.path());
    EXPECT_EQ(window->panes().currentFileList(), nullptr);
    control<FileListBox>(*window, "FileListBox2")->setFocus();
    EXPECT_EQ(window->panes().currentFileList(), control<FileListBox>(*window, "FileListBox2"));
    test::click(*control<FileListBox>(*window, "FileListBox1"), 0);
    EXPECT_EQ(window->panes().currentFileList(), control<FileListBox>(*window, "FileListBox1"));

    select(*control<FileListBox>(*window, "FileListBox2"), {0, 1});
    rightClick(*control<FileListBox>(*window, "FileListBox2"), 3);
    EXPECT_EQ(window->panes().currentFileList(),
              control<FileListBox>(*window, "FileListBox1"));  // several selected: nothing changes
    popupMenu(*window)->hide();
    select(*control<FileListBox>(*window, "FileListBox2"), {0});
    rightClick(*control<FileListBox>(*window, "FileListBox2"), 3);
    EXPECT_EQ(window->panes().currentFileList(), control<FileListBox>(*window, "FileListBox2"));
    EXPECT_EQ(control<FileListBox>(*window, "FileListBox2")->selectedRowsInOrder(), (std::vector<int>{3}));
    EXPECT_TRUE(popupMenu(*window)->isVisible());
    popupMenu(*window)->hide();
}

struct MenuEntry {
    QString name;
    QString caption;  // "-" for a separator
    bool icon;
    bool operator==(const MenuEntry&) const = default;
};

void PrintTo(const MenuEntry& e, std::ostream* os) {
    *os << e.name.toStdString() << " \"" << e.caption.toStdString() << "\" icon=" << e.icon;
}

std::vector<MenuEntry> entriesOf(const QMenu& menu) {
    std::vector<MenuEntry> entries;
    for (QAction* a : menu.actions())
        entries.push_back(
            {a->objectName(), a->isSeparator() ? QStringLiteral("-") : a->text(), !a->icon().isNull()});
    return entries;
}

TEST_F(MainWindowBrowserTest, TheFilterMenuHasEveryEntryInOrder) {
    auto window = openWindow(data.path());
    EXPECT_EQ(window->findChild<FileListMenu*>("PopupMenu1"), nullptr);  // nothing shows it at start
    const QMenu& menu = *popupMenu(*window);
    EXPECT_EQ(control<FileListMenu>(*window, "PopupMenu1"), &menu);
    EXPECT_EQ(entriesOf(menu), (std::vector<MenuEntry>{
                                   {"N4", "表計算ファイル", false},
                                   {"N5", "文書ファイル", false},
                                   {"N6", "画像ファイル", false},
                                   {"CAD1", "CADファイル", false},
                                   {"HTML1", "HTMLファイル(*.html;*.htm)", true},
                                   {"N7", "アプリケーション(*.exe)", true},
                                   {"N8", "プロジェクトファイル(*.kxd)", false},
                                   {"N9", "全てのファイル(*.*)", false},
                                   {"N19", "-", false},
                                   {"N20", "拡張子を指定", false},
                                   {"N10", "-", false},
                                   {"Delete1", "削除", false},
                                   {"N11", "名前を変更する", false},
                                   {"N23", "-", false},
                                   {"LZH1", "ﾌｧｲﾙﾘｽﾄをｸﾘｯﾌﾟﾎﾞｰﾄﾞにコピー", false},
                               }));
    const auto submenu = [&](const char* name) { return entriesOf(*menu.findChild<QMenu*>(name)); };
    EXPECT_EQ(submenu("N4"), (std::vector<MenuEntry>{{"Excelxls1", "Microsoft Excel (*.xls)", true},
                                                     {"Rotus1231", "Rotus123 (*.123)", true}}));
    EXPECT_EQ(submenu("N5"), (std::vector<MenuEntry>{{"MicrosoftWorddoc1", "Microsoft Word (*.doc)", true},
                                                     {"jtd1", "一太郎 (*.jtd)", true},
                                                     {"txt1", "テキストファイル (*.txt)", true}}));
    EXPECT_EQ(submenu("N6"), (std::vector<MenuEntry>{{"bmp1", "ビットマップファイル (*.bmp)", true},
                                                     {"JPEGjpg1", "JPEGファイル (*.jpg)", true},
                                                     {"GIFgif1", "GIFファイル (*.gif)", true}}));
    EXPECT_EQ(submenu("CAD1"), (std::vector<MenuEntry>{{"JWWjww1", "JWWファイル (*.jww)", true},
                                                       {"HOChoc1", "HOCファイル (*.hoc)", true},
                                                       {"JWCjwc1", "JWCファイル (*.jwc)", true},
                                                       {"DXFdxf1", "DXFファイル(*.dxf)", true}}));
}

TEST_F(MainWindowBrowserTest, EachEntrySetsBothMasksAndTheButtonIcon) {
    auto window = openWindow(data.path());
    EXPECT_EQ(control<QToolButton>(*window, "ToolButton2")->icon().cacheKey(), imageListIcon(32).cacheKey());
    popupMenu(*window)->findChild<QAction*>("txt1")->trigger();
    EXPECT_EQ(window->panes().right().files().mask(), "*.txt");  // made after the filter, it takes it
    control<ShellTreeView>(*window, "ShellTreeView2")->setRoot(data.path());
    const struct {
        const char* entry;
        const char* mask;
        int icon;
        int menuIcon;  // -1: none
    } cases[] = {
        {"Excelxls1", "*.xls", 7, 7},  {"Rotus1231", "*.123", 8, 8}, {"MicrosoftWorddoc1", "*.doc", 10, 10},
        {"jtd1", "*.jtd", 18, 18},     {"txt1", "*.txt", 19, 19},    {"bmp1", "*.bmp", 9, 9},
        {"JPEGjpg1", "*.jpg", 16, 16}, {"GIFgif1", "*.gif", 14, 14}, {"JWWjww1", "*.jww", 17, 17},
        {"HOChoc1", "*.hoc", 15, 15},  {"JWCjwc1", "*.jwc", 11, 11}, {"DXFdxf1", "*.dxf", 13, 13},
        {"HTML1", "*.html", 21, 21},   {"N7", "*.exe", 12, 12},      {"N8", "*.kxd", 0, -1},
        {"N9", "*.*", 32, -1},
    };
    for (const auto& c : cases) {
        QAction* action = popupMenu(*window)->findChild<QAction*>(c.entry);
        ASSERT_NE(action, nullptr) << c.entry;
        EXPECT_EQ(action->icon().cacheKey(),
                  c.menuIcon < 0 ? QIcon().cacheKey() : imageListIcon(c.menuIcon).cacheKey())
            << c.entry;
        action->trigger();
        EXPECT_EQ(control<FileListBox>(*window, "FileListBox1")->files().mask(), c.mask) << c.entry;
        EXPECT_EQ(control<FileListBox>(*window, "FileListBox2")->files().mask(), c.mask) << c.entry;
        EXPECT_EQ(control<QToolButton>(*window, "ToolButton2")->icon().cacheKey(),
                  imageListIcon(c.icon).cacheKey())
            << c.entry;
    }
}

TEST_F(MainWindowBrowserTest, FiltersNarrowBothListsAndTheSameOneTwiceReadsNothing) {
    auto window = openWindow(data.path());
    showRightPane(*window);
    control<ShellTreeView>(*window, "ShellTreeView2")->setRoot(data.path());
    QAction* txt = popupMenu(*window)->findChild<QAction*>("txt1");
    txt->trigger();
    EXPECT_EQ(listed(*control<FileListBox>(*window, "FileListBox1")), (QStringList{"a.txt", "x.TXT"}));
    EXPECT_EQ(listed(*control<FileListBox>(*window, "FileListBox2")), (QStringList{"a.txt", "x.TXT"}));

    select(*control<FileListBox>(*window, "FileListBox1"), {1});
    select(*control<FileListBox>(*window, "FileListBox2"), {0});
    QSignalSpy resets(&control<FileListBox>(*window, "FileListBox1")->files(),
                      &QAbstractItemModel::modelReset);
    txt->trigger();
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(control<FileListBox>(*window, "FileListBox1")->selectedRowsInOrder(), (std::vector<int>{1}));
    EXPECT_EQ(control<FileListBox>(*window, "FileListBox2")->selectedRowsInOrder(), (std::vector<int>{0}));
    EXPECT_FALSE(strip(*window, false).isEmpty());

    popupMenu(*window)->findChild<QAction*>("HTML1")->trigger();
    EXPECT_EQ(listed(*control<FileListBox>(*window, "FileListBox1")), (QStringList{"c.html"}));
    EXPECT_TRUE(control<FileListBox>(*window, "FileListBox2")->selectedRowsInOrder().empty());
    EXPECT_EQ(strip(*window, false), "");

    // A folder change keeps the mask.
    control<ShellTreeView>(*window, "ShellTreeView1")->setRoot(data.file("other"));
    popupMenu(*window)->findChild<QAction*>("txt1")->trigger();
    EXPECT_EQ(listed(*control<FileListBox>(*window, "FileListBox1")), (QStringList{"o.txt"}));
    control<ShellTreeView>(*window, "ShellTreeView1")->setRoot(data.path());
    EXPECT_EQ(listed(*control<FileListBox>(*window, "FileListBox1")), (QStringList{"a.txt", "x.TXT"}));
}

TEST_F(MainWindowBrowserTest, ATypedExtensionBecomesTheMask) {
    auto window = openWindow(data.path());
    const struct {
        QString typed;  // null: cancelled
        const char* mask;
        QStringList listed;
    } cases[] = {
        {"txt", "*.txt", {"a.txt", "x.TXT"}},  {".txt", "*.txt", {"a.txt", "x.TXT"}},
        {QStringLiteral(""), "*.", {"noext"}}, {"txt;*.doc", "*.txt;*.doc", {"a.txt", "b.doc", "x.TXT"}},
        {"exe", "*.exe", {"f.EXE"}},           {QString(), "*.exe", {"f.EXE"}},
    };
    for (const auto& c : cases) {
        fakes.dialogs.calls.clear();
        fakes.dialogs.inputAnswers.push_back(c.typed);
        popupMenu(*window)->findChild<QAction*>("N20")->trigger();
        EXPECT_EQ(fakes.dialogs.calls,
                  (std::vector<test::Call>{
                      {"inputLine", {"拡張子指定", "拡張子を入力してください（コンマ不要)"}}}));
        EXPECT_EQ(control<FileListBox>(*window, "FileListBox1")->files().mask(), c.mask)
            << c.typed.toStdString();
        EXPECT_EQ(listed(*control<FileListBox>(*window, "FileListBox1")), c.listed) << c.typed.toStdString();
        EXPECT_EQ(control<QToolButton>(*window, "ToolButton2")->icon().cacheKey(),
                  imageListIcon(31).cacheKey());
    }
}

TEST_F(MainWindowBrowserTest, RenameIsEnabledForOneSelectedFileUnlessTheFilterButtonOpenedTheMenu) {
    auto window = openWindow(data.path());
    QAction* rename = popupMenu(*window)->N11;
    const auto openedByRightClick = [&](std::initializer_list<int> selected, int clicked) {
        select(*control<FileListBox>(*window, "FileListBox1"), selected);
        rightClick(*control<FileListBox>(*window, "FileListBox1"), clicked);
        const bool enabled = rename->isEnabled();
        popupMenu(*window)->hide();
        return enabled;
    };

    // No current list yet.
    window->panes().ToolButton2Click();
    EXPECT_FALSE(rename->isEnabled());
    popupMenu(*window)->hide();

    EXPECT_TRUE(openedByRightClick({}, 2));
    EXPECT_FALSE(openedByRightClick({0, 1}, 1));  // two stay selected

    select(*control<FileListBox>(*window, "FileListBox1"), {2});
    control<QToolButton>(*window, "ToolButton2")->click();
    EXPECT_TRUE(popupMenu(*window)->isVisible());
    EXPECT_FALSE(rename->isEnabled());
    popupMenu(*window)->hide();

    EXPECT_TRUE(openedByRightClick({2}, 2));
    EXPECT_FALSE(popupMenu(*window)->openedByFilterButton());
    EXPECT_TRUE(popupMenu(*window)->Delete1->isEnabled());
    EXPECT_TRUE(popupMenu(*window)->LZH1->isEnabled());
}

TEST_F(MainWindowBrowserTest, ColoursGoToTheLeftControlsAndTheirRightTwins) {
    program.write("KX2cfg.ini",
                  "[Color]\r\nftBack=255\r\nftText=65280\r\nflBack=16711680\r\nflText=65535\r\n"
                  "fiBack=16776960\r\nfiText=16711935\r\nAppBody=8421504\r\n");
    TKX2 window(fakes.services(program.path()));
    window.panes().right();  // made after the colours were read
    const struct {
        QWidget* left;
        QWidget* right;
        QPalette::ColorRole background;
        QColor back;
        QColor text;
    } cases[] = {
        {control<ShellTreeView>(window, "ShellTreeView1"), control<ShellTreeView>(window, "ShellTreeView2"),
         QPalette::Base, QColor(255, 0, 0), QColor(0, 255, 0)},
        {control<FileListBox>(window, "FileListBox1"), control<FileListBox>(window, "FileListBox2"),
         QPalette::Base, QColor(0, 0, 255), QColor(255, 255, 0)},
        {control<QLabel>(window, "Label1"), control<QLabel>(window, "Label2"), QPalette::Window,
         QColor(0, 255, 255), QColor(255, 0, 255)},
    };
    for (const auto& c : cases) {
        for (QWidget* w : {c.left, c.right}) {
            EXPECT_EQ(w->palette().color(c.background), c.back) << w->objectName().toStdString();
            EXPECT_EQ(w->palette().color(QPalette::Text), c.text) << w->objectName().toStdString();
            EXPECT_EQ(w->palette().color(QPalette::WindowText), c.text) << w->objectName().toStdString();
        }
    }
    EXPECT_EQ(control<QSplitter>(window, "Splitter2")->handle(1)->palette().color(QPalette::Window),
              QColor(128, 128, 128));

    // The defaults: window colours for trees and lists, the tooltip pair for the strips.
    program.write("KX2cfg.ini", "");
    window.ApplyColourSettings();
    const QPalette system = QGuiApplication::palette();
    EXPECT_EQ(control<ShellTreeView>(window, "ShellTreeView2")->palette().color(QPalette::Base),
              system.color(QPalette::Active, QPalette::Base));
    EXPECT_EQ(control<FileListBox>(window, "FileListBox2")->palette().color(QPalette::Text),
              system.color(QPalette::Active, QPalette::Text));
    EXPECT_EQ(control<QLabel>(window, "Label2")->palette().color(QPalette::Window),
              system.color(QPalette::Active, QPalette::ToolTipText));
    EXPECT_EQ(control<QLabel>(window, "Label2")->palette().color(QPalette::WindowText),
              system.color(QPalette::Active, QPalette::ToolTipBase));
}

}  // namespace
}  // namespace tarvelin
