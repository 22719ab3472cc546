#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>
#include <functional>

#include "list_window_fixture.h"
#include "lists/list_tree_view.h"

namespace tarvelin {
namespace {

using test::control;
using test::ListWindowTest;

class TabColumnTest : public ListWindowTest {
protected:
    void openThree() {
        for (const char* name : {"a.kxd", "b.kxd", "c.kxd"})
            openThroughDialog(writeList(name, std::string(name).substr(0, 1) + "\r\n"));
    }
};

TEST_F(TabColumnTest, OpenedListsGetTabsInOrderWithTheLastSelected) {
    EXPECT_FALSE(control<QTabBar>(*window, "TabControl1")->isVisible());
    openThree();
    EXPECT_TRUE(control<QTabBar>(*window, "TabControl1")->isVisible());
    EXPECT_EQ(tabTexts(), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(control<QTabBar>(*window, "TabControl1")->currentIndex(), 2);
    EXPECT_EQ(captions(), (QStringList{"a.kxd", "b.kxd", "c.kxd"}));
    EXPECT_EQ(activeList()->windowTitle(), "c.kxd");

    control<QTabBar>(*window, "TabControl1")->setCurrentIndex(0);  // the user clicks tab a
    EXPECT_EQ(activeList()->windowTitle(), "a.kxd");
    EXPECT_TRUE(window->lists().area()->activeSubWindow()->isMaximized());

    window->lists().area()->activateNextSubWindow();  // keyboard: next child; only the selection moves
    EXPECT_EQ(activeList()->windowTitle(), "b.kxd");
    EXPECT_EQ(control<QTabBar>(*window, "TabControl1")->currentIndex(), 1);
}

TEST_F(TabColumnTest, ClosingPicksTheNeighbourAndTheLastHidesTheColumn) {
    openThree();
    control<QTabBar>(*window, "TabControl1")->setCurrentIndex(1);
    activeList()->Close1Click();  // the middle one: the following tab comes forward
    EXPECT_EQ(tabTexts(), (QStringList{"a", "c"}));
    EXPECT_EQ(control<QTabBar>(*window, "TabControl1")->currentIndex(), 1);
    EXPECT_EQ(activeList()->windowTitle(), "c.kxd");

    activeList()->Close1Click();  // the last one: the preceding tab comes forward
    EXPECT_EQ(tabTexts(), (QStringList{"a"}));
    EXPECT_EQ(activeList()->windowTitle(), "a.kxd");

    activeList()->Close1Click();
    EXPECT_TRUE(tabTexts().isEmpty());
    EXPECT_FALSE(control<QTabBar>(*window, "TabControl1")->isVisible());
    EXPECT_TRUE(window->lists().listWindows().empty());
}

TEST_F(TabColumnTest, TheMainTitleNamesTheActiveListOnEveryRoad) {
    auto* tabs = control<QTabBar>(*window, "TabControl1");
    auto* mode = control<QToolButton>(*window, "ToolButton7");
    const std::pair<std::function<void()>, QString> steps[] = {
        {[&] { openThree(); }, "Tarvelin2 - [c.kxd]"},
        {[&] { tabs->setCurrentIndex(0); }, "Tarvelin2 - [a.kxd]"},
        {[&] { activeList()->Close1Click(); }, "Tarvelin2 - [b.kxd]"},
        {[&] { mode->click(); }, "Tarvelin2"},
        {[&] { window->lists().New1Click(); }, "Tarvelin2"},  // covered by the two panes
        {[&] { mode->click(); }, "Tarvelin2 - [Untitled]"},
        {[&] { tabs->setCurrentIndex(1); }, "Tarvelin2 - [c.kxd]"},
        {[&] {
             for (TList* list : window->lists().listWindows()) list->Close1Click();
         },
         "Tarvelin2"},
    };
    int step = 0;
    for (const auto& [act, title] : steps) {
        act();
        EXPECT_EQ(window->windowTitle(), title) << "step " << step++;
    }
}

TEST_F(TabColumnTest, CancelledOpenChangesNothing) {
    openThree();
    control<QTabBar>(*window, "TabControl1")->setCurrentIndex(0);
    fakes.dialogs.fileAnswers.push_back(std::nullopt);
    window->lists().N2Click();
    EXPECT_EQ(tabTexts(), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(control<QTabBar>(*window, "TabControl1")->currentIndex(), 0);
    EXPECT_TRUE(fakes.dialogs.messages().isEmpty());
}

TEST_F(TabColumnTest, DisplayNamesDropTheLastFourCharacters) {
    const std::pair<const char*, const char*> cases[] = {
        {"abc.kxd", "abc"}, {"x.kxd", "x"}, {"long.name.kxd", "long.name"}, {"ab.k", ""}, {"a.text", "a."}};
    for (const auto& [name, tab] : cases) {
        openThroughDialog(writeList(name, "r\r\n"));
        EXPECT_EQ(tabTexts().last(), QString::fromUtf8(tab)) << name;
    }
}

TEST_F(TabColumnTest, MenusMergeWhileAListIsActive) {
    const auto barCaptions = [&] {
        QStringList captions;
        for (QAction* a : control<QMenuBar>(*window, "MainMenu1")->actions())
            if (a->isVisible()) captions << a->text();
        return captions;
    };
    EXPECT_EQ(barCaptions(), (QStringList{"ﾌｧｲﾙ", "ｳｨﾝﾄﾞｳ", "設定", "ﾍﾙﾌﾟ"}));
    window->lists().New1Click();
    EXPECT_EQ(barCaptions(), (QStringList{"ファイル", "ツール", "ｳｨﾝﾄﾞｳ", "設定", "ﾍﾙﾌﾟ"}));
    TList* first = activeList();
    window->lists().New1Click();
    TList* second = activeList();
    ASSERT_NE(first, second);
    EXPECT_EQ(barCaptions(), (QStringList{"ファイル", "ツール", "ｳｨﾝﾄﾞｳ", "設定", "ﾍﾙﾌﾟ"}));
    EXPECT_TRUE(control<QMenuBar>(*window, "MainMenu1")->actions().contains(second->FileMenu->menuAction()));
    EXPECT_FALSE(control<QMenuBar>(*window, "MainMenu1")->actions().contains(first->FileMenu->menuAction()));
    second->Close1Click();
    first->Close1Click();
    EXPECT_EQ(barCaptions(), (QStringList{"ﾌｧｲﾙ", "ｳｨﾝﾄﾞｳ", "設定", "ﾍﾙﾌﾟ"}));
}

TEST_F(TabColumnTest, TileStacksTheWindowsAtFullWidth) {
    openThree();
    window->lists().rwe1Click();
    const QList<QMdiSubWindow*> frames = window->lists().area()->subWindowList(QMdiArea::CreationOrder);
    const int width = window->lists().area()->viewport()->width();
    int top = 0;
    for (QMdiSubWindow* frame : frames) {
        EXPECT_EQ(frame->geometry().x(), 0);
        EXPECT_EQ(frame->geometry().width(), width);
        EXPECT_EQ(frame->geometry().y(), top);
        top = frame->geometry().bottom() + 1;
    }
    EXPECT_EQ(top, window->lists().area()->viewport()->height());
}

TEST_F(TabColumnTest, ManyTabsAndALongNameNeverGrowTheMainWindow) {
    const auto settle = [] {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    };
    settle();
    const int minimumHeight = window->minimumHeight();
    const QRect outer = window->frameGeometry();
    openThroughDialog(writeList("顧客名簿.kxd", "r\r\n"));
    for (int i = 1; i < 20; ++i) openThroughDialog(writeList("list" + std::to_string(i) + ".kxd", "r\r\n"));
    std::string longName;  // 82 characters, about as long as a file name can be in bytes
    for (int i = 0; i < 41; ++i) longName += "資料";
    openThroughDialog(writeList(longName + ".kxd", "r\r\n"));
    settle();

    auto* tabs = control<QTabBar>(*window, "TabControl1");
    EXPECT_EQ(window->minimumHeight(), minimumHeight);
    EXPECT_EQ(window->frameGeometry(), outer);
    EXPECT_LE(tabs->geometry().bottom(), window->lists().area()->geometry().bottom());
    // The long name is cut short in its tab and shown whole in its tooltip.
    EXPECT_LT(tabs->tabRect(20).height(), tabs->height());
    // Before the column scrolls, short names stay whole and a long one keeps its first characters.
    const QFontMetrics metrics = tabs->fontMetrics();
    EXPECT_GE(tabs->tabRect(0).height(), metrics.horizontalAdvance("顧客名簿"));
    EXPECT_GE(tabs->tabRect(20).height(), metrics.horizontalAdvance("資料資料資料…"));
    EXPECT_EQ(tabs->tabToolTip(20), QString::fromStdString(longName));
    EXPECT_EQ(tabs->tabToolTip(1), "list1");
    EXPECT_EQ(tabs->currentIndex(), 20);

    EXPECT_TRUE(window->close());
    EXPECT_EQ(dir.read("KX2cfg.ini"),
              "[Window]\r\nState=Normal\r\nWidth=694\r\nHeight=486\r\nLeft=0\r\nTop=0\r\n");
}

TEST_F(TabColumnTest, ATabClickAfterTilingKeepsTheTilesAndMarksTheActiveWindow) {
    openThree();
    QMdiArea* area = window->lists().area();
    const QColor mark = area->palette().color(QPalette::Active, QPalette::Highlight);
    const auto edgeColours = [&] {  // each window's top left corner, as drawn
        const QImage shown = area->viewport()->grab().toImage();
        std::vector<bool> marked;
        for (QMdiSubWindow* frame : area->subWindowList(QMdiArea::CreationOrder))
            marked.push_back(shown.pixelColor(frame->geometry().topLeft() + QPoint(1, 1)) == mark);
        return marked;
    };
    EXPECT_EQ(edgeColours(), (std::vector<bool>{false, false, false}));  // maximised: no mark

    window->lists().rwe1Click();
    std::vector<QRect> tiles;
    for (QMdiSubWindow* frame : area->subWindowList(QMdiArea::CreationOrder))
        tiles.push_back(frame->geometry());
    EXPECT_EQ(edgeColours(), (std::vector<bool>{false, false, true}));

    auto* tabs = control<QTabBar>(*window, "TabControl1");
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    EXPECT_EQ(activeList()->windowTitle(), "a.kxd");
    std::vector<QRect> after;
    for (QMdiSubWindow* frame : area->subWindowList(QMdiArea::CreationOrder)) {
        after.push_back(frame->geometry());
        EXPECT_FALSE(frame->isMaximized());
    }
    EXPECT_EQ(after, tiles);
    EXPECT_EQ(edgeColours(), (std::vector<bool>{true, false, false}));
}

TEST_F(TabColumnTest, CtrlF6WalksTheListWindowsAndMovesTheTab) {
    openThree();
    QApplication::setActiveWindow(window.get());
    const std::pair<QKeyCombination, const char*> steps[] = {
        {Qt::CTRL | Qt::Key_F6, "a.kxd"},
        {Qt::CTRL | Qt::Key_F6, "b.kxd"},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_F6, "a.kxd"},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_F6, "c.kxd"},
    };
    for (const auto& [key, title] : steps) {
        QTest::keyClick(activeList()->TreeView1, key.key(), key.keyboardModifiers());
        EXPECT_EQ(activeList()->windowTitle(), title);
        EXPECT_EQ(tabTexts()[control<QTabBar>(*window, "TabControl1")->currentIndex()] + ".kxd", title);
    }
}

}  // namespace
}  // namespace tarvelin
