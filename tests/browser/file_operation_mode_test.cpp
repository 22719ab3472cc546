// The two-pane layout on a window built like the main window: splitter, tab column, client stack.
#include "browser/file_operation_mode.h"

#include <gtest/gtest.h>

#include <QHBoxLayout>
#include <QSignalSpy>
#include <QSplitter>
#include <QStackedWidget>
#include <QTest>

namespace tarvelin {
namespace {

class FileOperationModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(1000, 600);
        auto* row = new QHBoxLayout(&window);
        splitter = new QSplitter(&window);
        row->addWidget(splitter);
        auto* left = new QWidget(splitter);
        auto* right = new QWidget(splitter);
        auto* rightRow = new QHBoxLayout(right);
        tabs = new QWidget(right);
        tabs->setFixedWidth(23);
        client = new QStackedWidget(right);
        mdi = new QWidget(client);
        panel3 = new QWidget(client);
        client->addWidget(mdi);
        client->addWidget(panel3);
        rightRow->addWidget(tabs);
        rightRow->addWidget(client);
        splitter->addWidget(left);
        splitter->addWidget(right);
        splitter->setSizes({230, 770});
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        mode = new FileOperationMode(splitter, client, panel3, tabs, &window);
        mode->saveLeftWidth();
    }
    int leftWidth() const { return splitter->sizes().value(0); }

    QWidget window;
    QSplitter* splitter;
    QWidget* tabs;
    QStackedWidget* client;
    QWidget* mdi;
    QWidget* panel3;
    FileOperationMode* mode;
};

TEST_F(FileOperationModeTest, EnterHalvesTheLeftPaneAndLeaveRestoresTheWidthSetWithTheSplitter) {
    QSignalSpy switched(mode, &FileOperationMode::switched);
    splitter->setSizes({310, 690});  // the user drags the splitter before entering
    const int userWidth = leftWidth();
    ASSERT_NE(userWidth, 230);
    mode->toggle();
    EXPECT_TRUE(mode->isOn());
    EXPECT_EQ(leftWidth(), window.frameGeometry().width() / 2);
    EXPECT_TRUE(panel3->isVisible());
    EXPECT_FALSE(mdi->isVisible());
    EXPECT_FALSE(tabs->isVisible());

    splitter->setSizes({400, 600});  // moved while on: not kept
    mode->toggle();
    EXPECT_FALSE(mode->isOn());
    EXPECT_EQ(leftWidth(), userWidth);
    EXPECT_TRUE(mdi->isVisible());
    EXPECT_TRUE(tabs->isVisible());
    EXPECT_EQ(switched.count(), 2);
    EXPECT_EQ(switched.at(0).at(0).toBool(), true);

    tabs->hide();  // no list windows: the column comes back empty after the mode
    mode->enter();
    mode->leave();
    EXPECT_TRUE(tabs->isVisible());
    mode->leave();  // already off: nothing
    EXPECT_EQ(switched.count(), 4);
}

}  // namespace
}  // namespace tarvelin
