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

TEST(Splash, GoesAwayOnDeactivationOrAnotherWindowShowingOnly) {
    struct Case {
        const char* name;
        std::function<void(Tsplash&)> happen;
        bool released;
    };
    QWidget otherWindow;
    QWidget shownWindow;
    auto* inner = new QWidget(&shownWindow);
    shownWindow.show();
    const Case cases[] = {
        {"deactivated",
         [](Tsplash& s) {
             QEvent deactivate(QEvent::WindowDeactivate);
             QCoreApplication::sendEvent(&s, &deactivate);
         },
         true},
        {"another window shown", [&](Tsplash&) { otherWindow.show(); }, true},
        {"a child widget shown", [&](Tsplash&) { inner->show(); }, false},
        {"nothing happens", [](Tsplash&) {}, false},
    };
    for (const Case& c : cases) {
        otherWindow.hide();
        inner->hide();
        QPointer<Tsplash> splash = new Tsplash;
        splash->showAndPaint();
        QSignalSpy released(splash.data(), &Tsplash::released);
        c.happen(*splash);
        EXPECT_EQ(released.count(), c.released ? 1 : 0) << c.name;
        EXPECT_EQ(splash->isVisible(), !c.released) << c.name;
        EXPECT_EQ(QTest::qWaitFor([&] { return splash.isNull(); }, 200), c.released) << c.name;
        delete splash.data();
    }
}

}  // namespace
}  // namespace tarvelin
