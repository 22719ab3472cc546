#include "app/splash.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QResource>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include "widgets/compiled_picture.h"

namespace tarvelin {
namespace {

TEST(Splash, IsTheFramelessCentredPictureOnTop) {
    Tsplash splash;
    EXPECT_EQ(splash.size(), QSize(197, 124));
    EXPECT_EQ(splash.parentWidget(), nullptr);
    EXPECT_EQ(splash.windowType(), Qt::SplashScreen);
    EXPECT_EQ(splash.windowTitle(), QStringLiteral("splash")) << "the smoke test finds it by this name";
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(splash.Image1->geometry(), QRect(0, 0, 197, 124));
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(splash.pos(), QPoint((desktop.width() - 197) / 2, (desktop.height() - 124) / 2));
    EXPECT_EQ(splash.Image1->pixmap().size(), QSize(197, 124));
    splash.showAndPaint();
    EXPECT_TRUE(splash.windowHandle()->isExposed());
}

TEST(Splash, PictureIsOpaqueAndStoredUncompressed) {
    const QImage picture = compiledPicture(QStringLiteral(":/pictures/splash.px"));
    EXPECT_EQ(picture.size(), QSize(197, 124));
    EXPECT_EQ(picture.format(), QImage::Format_RGB32) << "no alpha channel";
    // Copied at start, not inflated.
    EXPECT_EQ(QResource(QStringLiteral(":/pictures/splash.px")).compressionAlgorithm(),
              QResource::NoCompression);
}

// Counts the splash's releases seen when the watched window first paints.
class FirstPaintProbe : public QObject {
public:
    FirstPaintProbe(QWidget& window, const QSignalSpy& released) : m_released(released) {
        window.installEventFilter(this);
    }
    int releasesAtFirstPaint = -1;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && releasesAtFirstPaint < 0)
            releasesAtFirstPaint = int(m_released.count());
        return false;
    }

private:
    const QSignalSpy& m_released;
};

TEST(Splash, GoesAwayOnDeactivationOrAfterAnotherWindowsFirstFrame) {
    struct Case {
        const char* name;
        std::function<void(Tsplash&)> happen;
        bool released;
        int releasesAtFirstPaint;  // -1: the other window does not paint
    };
    QWidget otherWindow;
    QWidget blankWindow;  // shown, but draws nothing, like a window started minimised
    blankWindow.setUpdatesEnabled(false);
    QWidget shownWindow;
    auto* inner = new QWidget(&shownWindow);
    shownWindow.show();
    const Case cases[] = {
        {"deactivated",
         [](Tsplash& s) {
             QEvent deactivate(QEvent::WindowDeactivate);
             QCoreApplication::sendEvent(&s, &deactivate);
         },
         true, -1},
        {"another window shown", [&](Tsplash&) { otherWindow.show(); }, true, 0},
        {"a window shown that draws nothing", [&](Tsplash&) { blankWindow.show(); }, true, -1},
        {"a child widget shown", [&](Tsplash&) { inner->show(); }, false, -1},
        {"nothing happens", [](Tsplash&) {}, false, -1},
    };
    for (const Case& c : cases) {
        otherWindow.hide();
        blankWindow.hide();
        inner->hide();
        // Left hidden, as where a prepared X11 window shows the picture: a shown one would go on its
        // deactivation by the other window before that window paints.
        QPointer<Tsplash> splash = new Tsplash;
        QSignalSpy released(splash.data(), &Tsplash::released);
        FirstPaintProbe probe(otherWindow, released);
        FirstPaintProbe blankProbe(blankWindow, released);
        c.happen(*splash);
        EXPECT_EQ(QTest::qWaitFor([&] { return released.count() > 0; }, 1100), c.released) << c.name;
        EXPECT_EQ(released.count(), c.released ? 1 : 0) << c.name;
        EXPECT_EQ(probe.releasesAtFirstPaint, c.releasesAtFirstPaint) << c.name;
        EXPECT_EQ(blankProbe.releasesAtFirstPaint, -1) << c.name;
        EXPECT_EQ(QTest::qWaitFor([&] { return splash.isNull(); }, 200), c.released) << c.name;
        delete splash.data();
    }
}

}  // namespace
}  // namespace tarvelin
