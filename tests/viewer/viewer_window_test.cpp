#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <fstream>
#include <set>

#include "support/picture_samples.h"
#include "support/temp_folder.h"
#include "viewer/picture_source.h"
#include "viewer/viewer_controls.h"
#include "viewer/viewer_window.h"

namespace tarvelin {
namespace {

using Mode = PictureControl::Mode;

// The left file list, recording every change the viewer makes to it.
class FakeList final : public PictureSource {
public:
    std::vector<std::string> names;
    std::string dir;
    int focused = -1;
    std::set<int> selected;
    std::vector<std::string> log;

    int count() const override { return static_cast<int>(names.size()); }
    std::string name(int i) const override { return names.at(static_cast<size_t>(i)); }
    std::string folder() const override { return dir; }
    int focusedIndex() const override { return focused; }
    bool isSelected(int i) const override { return selected.count(i) > 0; }
    void setSelected(int i, bool on) override {
        on ? (void)selected.insert(i) : (void)selected.erase(i);
        log.push_back((on ? "+" : "-") + std::to_string(i));
    }
    void setFocused(int i) override {
        focused = i;
        log.push_back("f" + std::to_string(i));
    }
    void updateInformationStrip() override { log.push_back("strip"); }
    void focus(int i) {
        focused = i;
        selected = {i};
        log.clear();
    }
};

uint32_t flat(int, int) {
    return 0x3070b0;
}

class ViewerTest : public ::testing::Test {
protected:
    ViewerTest() : viewer(list, QFont(), [this] { return placement; }) {
        list.dir = folder.path().substr(0, folder.path().size() - 1);
        viewer.resize(886, 687);  // offscreen windows have no frame: the outer size of the design window
    }
    void pictures(std::vector<std::string> names) {
        list.names = std::move(names);
        for (const std::string& n : list.names) {
            if (folder.exists(n)) continue;
            const std::string ext = n.substr(n.rfind('.') + 1);
            if (ext == "jpg" || ext == "JPG")
                folder.write(n, samples::encodeJpeg({400, 300, flat}));
            else if (ext == "bmp" || ext == "BMP")
                folder.write(n, samples::encodeBmp({40, 30, 24, false, {}, nullptr, flat}));
            else
                folder.write(n, "text");
        }
    }
    void settle() {
        for (int i = 0; i < 3; ++i) {
            viewer.loader().waitIdle();
            QCoreApplication::processEvents();
        }
    }
    QRect image() const { return viewer.Image1->geometry(); }
    std::string shownName() const {
        const PicturePtr& p = viewer.picture();
        return p ? p->path.substr(p->path.rfind('/') + 1) : "";
    }

    test::TempFolder folder;
    FakeList list;
    MainWindowPlacement placement{{100, 50, 1000, 700}, 24, 26, 230};
    TViewer viewer;
};

TEST_F(ViewerTest, BarLabelsCaptionsAndColours) {
    const struct {
        BarLabel* label;
        const char* text;
        int x;
    } cases[] = {{viewer.Label4, "<< 先頭", 4},
                 {viewer.Label1, "< 戻る", 64},
                 {viewer.Label2, "次へ >", 112},
                 {viewer.Label5, "最終 >>", 168},
                 {viewer.Label9, "縮小", 228},
                 {viewer.Label8, "拡大", 264},
                 {viewer.Label7, "フルスクリーン切替", 308},
                 {viewer.Label10, "実寸表示", 428},
                 {viewer.Label6, "*閉じる*", 500}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.label->text(), QString::fromUtf8(c.text));
        EXPECT_EQ(c.label->x(), c.x) << c.text;
        EXPECT_EQ(c.label->palette().color(QPalette::WindowText), QColor(0, 128, 0)) << c.text;
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(c.label, &enter);
        EXPECT_EQ(c.label->palette().color(QPalette::WindowText), QColor(0, 255, 0)) << c.text;
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(c.label, &leave);
        EXPECT_EQ(c.label->palette().color(QPalette::WindowText), QColor(0, 128, 0)) << c.text;
    }
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("画像ビューアー"));
    EXPECT_TRUE(viewer.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(viewer.Panel1->geometry(), QRect(0, 0, 886, 12));
    EXPECT_EQ(viewer.Label3->text(), QString());
    EXPECT_EQ(viewer.Label3->palette().color(QPalette::WindowText), QColor(192, 192, 192));
    EXPECT_EQ(viewer.Label3->geometry().right(), 886 - 5);
    QStringList menu;
    for (QAction* a : viewer.PopupMenu1->actions())
        menu << (a->isSeparator() ? QStringLiteral("-") : a->text() + "|" + a->shortcut().toString());
    EXPECT_EQ(menu.join(","),
              QStringLiteral("実寸表示|,-,拡大|Ctrl+U,縮小|Ctrl+D,-,フルスクリーン切り替え|"));
}

TEST_F(ViewerTest, DisplayModeCaptionsNameTheNextSwitch) {
    pictures({"p.jpg"});
    list.focus(0);
    viewer.PreviewFocusedImage();
    settle();
    const struct {
        void (TViewer::*command)();
        const char* caption;
    } steps[] = {{&TViewer::N1Click, "実寸表示"},  // 400 × 300 came up at actual size; back to fit
                 {&TViewer::N1Click, "全体表示"},
                 {&TViewer::N2Click, "全体表示"},
                 {&TViewer::N1Click, "実寸表示"},
                 {&TViewer::N3Click, "全体表示"}};
    EXPECT_EQ(viewer.Label10->text(), QStringLiteral("全体表示"));
    for (const auto& s : steps) {
        (viewer.*s.command)();
        EXPECT_EQ(viewer.Label10->text(), QString::fromUtf8(s.caption));
        viewer.PopupMenu1Popup();
        EXPECT_EQ(viewer.N1->text(), QString::fromUtf8(s.caption));
    }
}

TEST_F(ViewerTest, PreviewLoadsOnlyPictureFilesAndAlwaysUpdatesTheStrip) {
    pictures({"a.JPG", "b.jpeg", "c.Jpg", "d.BMP", "e.txt", "写真.jpg"});
    const struct {
        int focused;
        bool selected;
        const char* shown;
        const char* caption;
    } cases[] = {{0, true, "a.JPG", "a.JPG"}, {1, true, "a.JPG", "a.JPG"}, {2, true, "a.JPG", "a.JPG"},
                 {3, true, "d.BMP", "d.BMP"}, {4, true, "d.BMP", "d.BMP"}, {5, false, "写真.jpg", ""},
                 {-1, false, "写真.jpg", ""}};
    for (const auto& c : cases) {
        list.focus(c.focused);
        if (!c.selected) list.selected.clear();
        viewer.PreviewFocusedImage();
        settle();
        EXPECT_EQ(shownName(), c.shown) << c.focused;
        EXPECT_EQ(viewer.Label3->text(), QString::fromUtf8(c.caption)) << c.focused;
        EXPECT_EQ(list.log, std::vector<std::string>{"strip"}) << c.focused;
    }
}

TEST_F(ViewerTest, NewPicturesComeUpAtActualSizeOrFittedAndZoom) {
    folder.write("wide.jpg", samples::encodeJpeg({900, 400, flat}));
    pictures({"p.jpg", "wide.jpg"});
    list.focus(0);
    viewer.PreviewFocusedImage();
    settle();
    EXPECT_EQ(viewer.control().mode, Mode::ActualSize);
    EXPECT_EQ(image(), QRect(243, 194, 400, 300));
    viewer.N2Click();
    EXPECT_EQ(image(), QRect(203, 164, 480, 360));
    EXPECT_EQ(viewer.picture()->image.size(), QSize(400, 300));  // zoomed from the full picture
    viewer.N1Click();
    EXPECT_EQ(image(), QRect(0, 12, 886, 675));
    list.focus(1);
    viewer.PreviewFocusedImage();
    settle();
    EXPECT_EQ(viewer.control().mode, Mode::Fit);
    EXPECT_EQ(image(), QRect(0, 12, 886, 675));
    EXPECT_EQ(viewer.Image1->pictureRect(), QRect(0, 141, 886, 393));
    // Fitted, the picture was decoded at the smallest DCT scale covering 886 × 393: the full 900.
    EXPECT_EQ(viewer.picture()->image.size(), QSize(900, 400));
}

TEST_F(ViewerTest, PagingWrapsAndSkipsWhatIsNoPicture) {
    pictures({"x.jpg", "a.txt", "y.bmp", "b.jpeg", "c.Jpg"});
    using Log = std::vector<std::string>;
    const struct {
        int from;
        void (TViewer::*command)();
        Log log;
        const char* shown;
    } cases[] = {
        {2, &TViewer::Label2Click, {"-2", "+3", "f3", "-3", "+4", "f4", "-4", "+0", "f0", "strip"}, "x.jpg"},
        {0, &TViewer::Label1Click, {"-0", "+4", "f4", "-4", "+3", "f3", "-3", "+2", "f2", "strip"}, "y.bmp"},
        {0, &TViewer::Label2Click, {"-0", "+1", "f1", "-1", "+2", "f2", "strip"}, "y.bmp"},
        {3, &TViewer::Label4Click, {"-3", "+0", "f0", "strip"}, "x.jpg"},
        {0, &TViewer::Label5Click, {"-0", "+2", "f2", "strip"}, "y.bmp"},
    };
    for (const auto& c : cases) {
        list.focus(c.from);
        (viewer.*c.command)();
        settle();
        EXPECT_EQ(list.log, c.log) << c.from;
        EXPECT_EQ(shownName(), c.shown) << c.from;
        EXPECT_EQ(list.selected, std::set<int>{list.focused});
    }
}

TEST_F(ViewerTest, OnePictureIsReachedAgainAfterAWholePass) {
    pictures({"a.txt", "only.JPG", "c.jpeg"});
    list.focus(1);
    list.selected.insert(2);  // passed over: selected and deselected in turn
    viewer.FormKeyDown(13);
    settle();
    EXPECT_EQ(list.log,
              (std::vector<std::string>{"-1", "+2", "f2", "-2", "+0", "f0", "-0", "+1", "f1", "strip"}));
    EXPECT_EQ(shownName(), "only.JPG");
    EXPECT_EQ(list.selected, std::set<int>{1});
}

TEST_F(ViewerTest, WithoutAPictureFileKeysDoNothingAndLabelsOnlyChooseTheMode) {
    pictures({"p.jpg"});
    list.focus(0);
    viewer.PreviewFocusedImage();
    settle();
    pictures({"a.txt", "p.jpeg", "q.Jpg"});
    const struct {
        void (TViewer::*command)();
        bool chooses;
    } cases[] = {{nullptr, false},
                 {&TViewer::Label2Click, true},
                 {&TViewer::Label1Click, true},
                 {&TViewer::Label4Click, true},
                 {&TViewer::Label5Click, true}};
    for (int key : {13, 8, 32, 65}) {
        list.focus(1);
        viewer.N2Click();
        const QRect zoomed = image();
        viewer.FormKeyDown(key);
        EXPECT_TRUE(list.log.empty()) << key;
        EXPECT_FALSE(viewer.fullScreen()) << key;
        EXPECT_EQ(image(), zoomed) << key;
    }
    for (const auto& c : cases) {
        if (!c.command) continue;
        list.focus(1);
        viewer.N2Click();
        (viewer.*c.command)();
        EXPECT_TRUE(list.log.empty());
        EXPECT_EQ(viewer.control().mode, Mode::ActualSize);
        EXPECT_EQ(image(), QRect(243, 194, 400, 300));
        EXPECT_EQ(shownName(), "p.jpg");
    }
    // An empty list: first and last do nothing at all.
    list.names.clear();
    viewer.N2Click();
    const QRect zoomed = image();
    viewer.Label4Click();
    viewer.Label5Click();
    EXPECT_EQ(image(), zoomed);
}

TEST_F(ViewerTest, KeysPageAndShortcutsZoomWithoutPaging) {
    pictures({"x.jpg", "y.jpg"});
    list.focus(0);
    viewer.PreviewFocusedImage();
    settle();
    viewer.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&viewer));
    QTest::keyClick(&viewer, Qt::Key_U, Qt::ControlModifier);
    // The first show placed the window at 765 × 632: centred at round(142.5) = 142, 136.
    EXPECT_EQ(image(), QRect(142, 136, 480, 360));
    EXPECT_EQ(list.focused, 0);
    QTest::keyClick(&viewer, Qt::Key_Return, Qt::ShiftModifier);
    settle();
    EXPECT_EQ(list.focused, 1);
    EXPECT_EQ(shownName(), "y.jpg");
    QTest::keyClick(&viewer, Qt::Key_Backspace);
    settle();
    EXPECT_EQ(shownName(), "x.jpg");
    QTest::keyClick(&viewer, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(viewer.control().mode, Mode::Zoomed);
    EXPECT_EQ(list.focused, 0);
}

TEST_F(ViewerTest, FirstShowPlacesOnceAndCloseOnlyHides) {
    pictures({"p.jpg"});
    list.focus(0);
    viewer.PreviewFocusedImage();
    settle();
    QSignalSpy visible(&viewer, &TViewer::visibilityChanged);
    viewer.N2Click();
    viewer.Show();
    EXPECT_EQ(viewer.frameGeometry(), QRect(335, 118, 765, 632));
    EXPECT_FALSE(viewer.freeMode());  // the first show starts in fit mode; the control stays as it was
    EXPECT_EQ(viewer.Label10->text(), QStringLiteral("実寸表示"));
    EXPECT_EQ(viewer.control().mode, Mode::Zoomed);
    viewer.setGeometry(10, 20, 300, 200);
    const QRect moved = viewer.frameGeometry();
    viewer.Label6Click();
    EXPECT_FALSE(viewer.isVisible());
    placement.outer = {0, 0, 500, 500};
    viewer.Show();
    EXPECT_EQ(viewer.frameGeometry(), moved);
    EXPECT_EQ(shownName(), "p.jpg");
    EXPECT_EQ(viewer.Label3->text(), QStringLiteral("p.jpg"));
    ASSERT_EQ(visible.count(), 3);
    EXPECT_EQ(visible[0][0].toBool(), true);
    EXPECT_EQ(visible[1][0].toBool(), false);
    EXPECT_EQ(visible[2][0].toBool(), true);
}

TEST_F(ViewerTest, FullScreenTwiceRestoresTheBoundsAndSurvivesAClose) {
    viewer.Show();
    viewer.setGeometry(40, 50, 600, 400);
    const QRect windowed = viewer.frameGeometry();
    const QRect screen = viewer.screen()->geometry();
    QSignalSpy visible(&viewer, &TViewer::visibilityChanged);
    for (int round = 0; round < 2; ++round) {
        viewer.N6Click();
        EXPECT_TRUE(viewer.fullScreen());
        EXPECT_TRUE(viewer.windowFlags() & Qt::FramelessWindowHint);
        EXPECT_TRUE(viewer.windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_EQ(viewer.geometry(), QRect(0, 0, screen.width(), screen.height()));
        EXPECT_EQ(viewer.control().bounds, (PixelRect{0, 12, screen.width(), screen.height() - 12}));
        viewer.N6Click();
        EXPECT_FALSE(viewer.windowFlags() & Qt::FramelessWindowHint);
        EXPECT_EQ(viewer.frameGeometry(), windowed);
        EXPECT_TRUE(viewer.isVisible());
    }
    EXPECT_EQ(visible.count(), 0);  // the menu item does not flicker
    viewer.N6Click();
    viewer.Label6Click();
    viewer.Show();
    EXPECT_TRUE(viewer.fullScreen());
    EXPECT_EQ(viewer.geometry(), QRect(0, 0, screen.width(), screen.height()));
}

TEST_F(ViewerTest, APictureThatCannotBeDecodedShowsItsNameAndAGreyText) {
    folder.write("broken.jpg", "\xff\xd8\xff\xe0 not much of a picture");
    pictures({"broken.jpg"});
    list.focus(0);
    viewer.PreviewFocusedImage();
    settle();
    ASSERT_NE(viewer.picture(), nullptr);
    EXPECT_FALSE(viewer.picture()->ok());
    EXPECT_EQ(viewer.Label3->text(), QStringLiteral("broken.jpg"));
    const QImage shot = viewer.grab().toImage();
    std::set<QRgb> colours;
    for (int y = 12; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) colours.insert(shot.pixel(x, y) & 0xffffff);
    EXPECT_TRUE(colours.count(0x000000));
    EXPECT_TRUE(colours.count(0x808080));  // the text's grey
    for (QRgb c : colours) EXPECT_TRUE(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c)) << std::hex << c;
}

TEST_F(ViewerTest, APictureTheBudgetKeptSmallSaysSoOnlyWhenShownSmaller) {
    folder.write("p.jpg", samples::encodeJpeg({2000, 1600}));
    pictures({"p.jpg"});
    list.focus(0);
    PictureLimits limits;
    limits.memoryBudget = 8 << 20;  // 1000 × 800 fits, 2000 × 1600 does not
    TViewer small(list, QFont(), nullptr, nullptr, limits);
    small.resize(886, 687);
    const auto settleSmall = [&] {
        for (int i = 0; i < 3; ++i) small.loader().waitIdle(), QCoreApplication::processEvents();
    };
    small.PreviewFocusedImage();
    settleSmall();
    EXPECT_EQ(small.Label3->text(), QStringLiteral("p.jpg"));  // fitted: the window shows no more
    small.N1Click();
    settleSmall();
    EXPECT_EQ(small.control().mode, Mode::ActualSize);
    EXPECT_EQ(small.Label3->text(), QStringLiteral("p.jpg（縮小表示）"));
    EXPECT_EQ(small.Image1->size(), QSize(1500, 1200));
    EXPECT_EQ(small.loader().cached(folder.file("p.jpg"), {}), small.picture());  // no more to decode
}

long residentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * 4;
}

TEST_F(ViewerTest, ZoomingTwentyTimesDrawsOnlyTheVisiblePart) {
    folder.write("q.jpg", samples::encodeJpeg({400, 300, [](int x, int y) {
                                                   return samples::quadrantColour(x, y, 400, 300);
                                               }}));
    pictures({"q.jpg"});
    list.focus(0);
    viewer.PreviewFocusedImage();
    settle();
    viewer.Show();
    const long before = residentKilobytes();
    for (int i = 0; i < 20; ++i) viewer.N2Click();
    settle();
    const QImage shot = viewer.grab().toImage();
    // 400 × 1.2^20 is about 15,300 wide: a drawn copy would take 700 MB.
    EXPECT_GT(viewer.control().bounds.width, 15000);
    EXPECT_LT(residentKilobytes() - before, 50 * 1024);
    // The picture's centre, where four quadrants meet, sits at the control's centre.
    const PixelRect b = viewer.control().bounds;
    const int cx = b.left + b.width / 2, cy = b.top + b.height / 2;
    EXPECT_EQ(shot.pixel(cx - 250, cy - 250) & 0xf0f0f0, 0xf00000u);
    EXPECT_EQ(shot.pixel(cx + 250, cy - 250) & 0xf0f0f0, 0x00f000u);
    EXPECT_EQ(shot.pixel(cx + 250, cy + 250) & 0xf0f0f0, 0xf0f000u);

    // Dragging moves the zoomed picture with the pointer.
    QTest::mousePress(viewer.Image1, Qt::LeftButton, {}, viewer.Image1->mapFrom(&viewer, QPoint(300, 300)));
    QTest::mouseMove(viewer.Image1, viewer.Image1->mapFrom(&viewer, QPoint(330, 280)));
    EXPECT_EQ(viewer.control().bounds, (PixelRect{b.left + 30, b.top - 20, b.width, b.height}));
    QTest::mouseRelease(viewer.Image1, Qt::LeftButton, {}, viewer.Image1->mapFrom(&viewer, QPoint(330, 280)));
}

TEST_F(ViewerTest, ARunOfPreviewsShowsTheLastAndNeighboursAreReadyAhead) {
    pictures({"a.jpg", "b.jpg", "c.jpg", "d.txt", "e.jpg"});
    QSignalSpy shown(&viewer, &TViewer::pictureShown);
    for (int i : {0, 1, 2}) {
        list.focus(i);
        viewer.PreviewFocusedImage();
    }
    settle();
    ASSERT_EQ(shown.count(), 1);
    EXPECT_EQ(shownName(), "c.jpg");
    // e.jpg (next, past d.txt) and b.jpg (previous) were decoded ahead: paging shows them at once.
    for (const char* expected : {"e.jpg", "a.jpg"}) {
        viewer.FormKeyDown(13);
        EXPECT_FALSE(viewer.decoding());
        EXPECT_EQ(shownName(), expected);
        settle();
    }
    viewer.FormKeyDown(8);
    EXPECT_EQ(shownName(), "e.jpg");
}

}  // namespace
}  // namespace tarvelin
