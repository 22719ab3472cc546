#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/list_windows.h"
#include "app/main_window.h"
#include "support/fake_services.h"
#include "support/temp_folder.h"
#include "widgets/close_query.h"

namespace tarvelin {
namespace {

using test::FakeServices;
using test::TempFolder;

// A list window stand-in that answers the close question and counts it.
class AnsweringWindow : public QWidget, public CloseQuery {
public:
    AnsweringWindow(bool answer, std::vector<int>& asked, int id)
        : m_answer(answer), m_asked(asked), m_id(id) {}
    bool FormCloseQuery() override {
        m_asked.push_back(m_id);
        return m_answer;
    }

private:
    bool m_answer;
    std::vector<int>& m_asked;
    int m_id;
};

TEST(MainWindowClose, StoresNormalPlacementInOrder) {
    TempFolder dir;
    dir.write("KX2cfg.ini", "[Window]\r\nState=Normal\r\nWidth=800\r\nHeight=600\r\nLeft=10\r\nTop=20\r\n");
    FakeServices fakes;
    TKX2 window(fakes.services(dir.path()));
    window.show();
    window.move(30, 40);  // outer bounds go back as they came: the frame is not added twice
    EXPECT_TRUE(window.close());
    EXPECT_EQ(dir.read("KX2cfg.ini"),
              "[Window]\r\nState=Normal\r\nWidth=800\r\nHeight=600\r\nLeft=30\r\nTop=40\r\n");
}

TEST(MainWindowClose, MaximisedWritesOnlyElseAndKeepsTheNumbers) {
    TempFolder dir;
    dir.write("KX2cfg.ini", "[Window]\r\nState=Normal\r\nWidth=800\r\nHeight=600\r\nLeft=10\r\nTop=20\r\n");
    FakeServices fakes;
    {
        TKX2 window(fakes.services(dir.path()));
        window.show();
        window.setWindowState(Qt::WindowMaximized);
        EXPECT_TRUE(window.close());
    }
    EXPECT_EQ(dir.read("KX2cfg.ini"),
              "[Window]\r\nState=Else\r\nWidth=800\r\nHeight=600\r\nLeft=10\r\nTop=20\r\n");
    TKX2 next(fakes.services(dir.path()));
    EXPECT_TRUE(next.windowState() & Qt::WindowMaximized);
}

TEST(MainWindowClose, FirstCloseCreatesTheFile) {
    TempFolder dir;
    FakeServices fakes;
    TKX2 window(fakes.services(dir.path()));
    window.show();
    window.Exit1Click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(dir.read("KX2cfg.ini"),
              "[Window]\r\nState=Normal\r\nWidth=694\r\nHeight=486\r\nLeft=0\r\nTop=0\r\n");
}

TEST(MainWindowClose, AListWindowThatRefusesKeepsTheProgramOpen) {
    TempFolder dir;
    FakeServices fakes;
    TKX2 window(fakes.services(dir.path()));
    std::vector<int> asked;
    window.lists().area()->addSubWindow(new AnsweringWindow(true, asked, 1));
    window.lists().area()->addSubWindow(new AnsweringWindow(false, asked, 2));
    window.lists().area()->addSubWindow(new AnsweringWindow(true, asked, 3));
    window.show();
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(asked, (std::vector<int>{1, 2}));  // asked in turn, up to the first refusal
    EXPECT_FALSE(dir.exists("KX2cfg.ini"));
}

TEST(MainWindowClose, AFailedWriteIsShownOnceAndTheProgramStillEnds) {
    TempFolder dir;
    const std::string folder = dir.file("gone/");
    FakeServices fakes;
    TKX2 window(fakes.services(folder));
    window.show();
    EXPECT_TRUE(window.close());
    EXPECT_EQ(fakes.dialogs.calls,
              (std::vector<test::Call>{
                  {"error", {QString::fromStdString(folder + "KX2cfg.ini に書き込めません")}}}));
}

}  // namespace
}  // namespace tarvelin
