// The viewer inside the program: shown from the menu and the toolbar, fed by the user's selections in the
// left file list and paging that list.
#include <gtest/gtest.h>

#include <QAction>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

#include "app/main_window.h"
#include "browser/browser_fixture.h"
#include "browser/file_list_box.h"
#include "browser/file_pane.h"
#include "browser/file_panes.h"
#include "browser/shell_tree_view.h"
#include "support/controls.h"
#include "support/fake_services.h"
#include "support/picture_samples.h"
#include "viewer/viewer_window.h"

namespace tarvelin {
namespace {

using test::FakeServices;
using test::TempFolder;

class ViewerLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"a.txt", "b.JPG", "c.jpeg", "d.Jpg", "e.bmp", "f.jpg"}) {
            const std::string n(name);
            if (n.ends_with(".bmp"))
                data.write(n, samples::encodeBmp(
                                  {8, 6, 24, false, {}, nullptr, [](int, int) { return 0x204060u; }}));
            else
                data.write(n, samples::encodeJpeg({40, 30, [](int, int) { return 0x406080u; }}));
        }
        program.write("KX2cfg.ini",
                      "[Folder]\r\nTreeDir=" + data.path().substr(0, data.path().size() - 1) + "\r\n");
        window = std::make_unique<TKX2>(fakes.services(program.path()));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        viewer = &window->viewer();
        left = window->panes().left().list();
        right = window->panes().right().list();
        test::waitForReading(*left->model());
        ASSERT_EQ(left->model()->rowCount(), 6);
    }
    void settle() {
        for (int i = 0; i < 3; ++i) {
            viewer->loader().waitIdle();
            QCoreApplication::processEvents();
        }
    }
    std::string requested() const {
        const std::string& p = viewer->requestedPath();
        return p.empty() ? "" : p.substr(p.rfind('/') + 1);
    }

    TempFolder home;
    test::HomeInTempFolder homeSet{home};
    TempFolder program;
    TempFolder data;
    FakeServices fakes;
    std::unique_ptr<TKX2> window;
    TViewer* viewer = nullptr;
    FileListBox* left = nullptr;
    FileListBox* right = nullptr;
};

TEST_F(ViewerLinkTest, UserSelectionsInTheLeftListPreviewPictureFiles) {
    // Rows in name order: a.txt b.JPG c.jpeg d.Jpg e.bmp f.jpg
    const struct {
        const char* what;
        std::function<void()> act;
        const char* requested;
    } steps[] = {
        {"click b.JPG", [&] { test::click(*left, 1); }, "b.JPG"},
        {"click c.jpeg", [&] { test::click(*left, 2); }, "b.JPG"},
        {"arrow to d.Jpg", [&] { QTest::keyClick(left, Qt::Key_Down); }, "b.JPG"},
        {"arrow to e.bmp", [&] { QTest::keyClick(left, Qt::Key_Down); }, "e.bmp"},
        {"ctrl click f.jpg", [&] { test::click(*left, 5, Qt::LeftButton, Qt::ControlModifier); }, "f.jpg"},
        {"shift click b.JPG", [&] { test::click(*left, 1, Qt::LeftButton, Qt::ShiftModifier); }, "b.JPG"},
        {"right click f.jpg", [&] { test::click(*left, 5, Qt::RightButton); }, "b.JPG"},
        {"click in the right list", [&] { test::click(*right, 5); }, "b.JPG"},
    };
    for (const auto& s : steps) {
        s.act();
        settle();
        EXPECT_EQ(requested(), s.requested) << s.what;
    }
    EXPECT_FALSE(viewer->isVisible());  // previews never show the viewer
}

TEST_F(ViewerLinkTest, MenuAndToolbarShowTheViewerAndPagingMovesTheLeftSelection) {
    QAction* n12 = window->findChild<QAction*>(QStringLiteral("N12"));
    auto* button = window->findChild<QToolButton*>(QStringLiteral("ToolButton6"));
    ASSERT_TRUE(n12 && button);
    EXPECT_TRUE(n12->isEnabled());
    n12->trigger();
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_FALSE(n12->isEnabled());
    EXPECT_TRUE(button->isEnabled());  // the button stays: it brings the viewer to the front
    viewer->Label6Click();
    EXPECT_TRUE(n12->isEnabled());
    button->click();
    EXPECT_TRUE(viewer->isVisible());
    // Placed once, right of the left pane and below the toolbars, reaching the main window's far corner.
    const QRect main = window->frameGeometry(), placed = viewer->frameGeometry();
    EXPECT_EQ(placed.left(), main.left() + window->savedLeftPaneWidth() + 5);
    EXPECT_EQ(placed.right(), main.right());
    EXPECT_EQ(placed.bottom(), main.bottom());

    test::click(*left, 1);
    settle();
    viewer->Label2Click();  // skips c.jpeg and d.Jpg
    settle();
    EXPECT_EQ(left->currentIndex().row(), 4);
    EXPECT_EQ(left->selectedRowsInOrder(), std::vector<int>{4});
    EXPECT_EQ(requested(), "e.bmp");
    EXPECT_EQ(viewer->Label3->text(), QStringLiteral("e.bmp"));
    viewer->Label2Click();
    viewer->Label2Click();  // wraps past a.txt to b.JPG
    settle();
    EXPECT_EQ(left->selectedRowsInOrder(), std::vector<int>{1});
    EXPECT_EQ(requested(), "b.JPG");
}

}  // namespace
}  // namespace tarvelin
