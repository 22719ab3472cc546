#include "app/splash.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <cstdlib>

#include "platform/toolkit_display.h"
#include "platform/x11_splash_window.h"
#include "platform/x11_window_background.h"
#include "widgets/compiled_picture.h"

// Outside a namespace, as Q_INIT_RESOURCE needs; the reference keeps the picture in the static ui library.
static void initSplashResources() {
    Q_INIT_RESOURCE(rendered);
}

namespace tarvelin {
namespace {

// Long enough for a window manager to map the window, short enough that a stuck one cannot hold the start.
constexpr int kExposeWaitMs = 200;
// How long a shown window may take to draw its first frame before the splash goes anyway (one started
// minimised draws nothing).
constexpr int kFirstFrameWaitMs = 1000;
constexpr int kWidth = 197;
constexpr int kHeight = 124;

}  // namespace

QImage splashImage() {
    initSplashResources();
    return compiledPicture(QStringLiteral(":/pictures/splash.px"));
}

QPixmap splashPicture() {
    return QPixmap::fromImage(splashImage());
}

std::unique_ptr<X11SplashWindow> prepareX11Splash(const std::vector<std::string>& args) {
    std::string display = toolkitX11Display(args, [](const char* name) { return std::getenv(name); });
    if (display.empty()) return nullptr;
    // Registered here, read on the helper.
    initSplashResources();
    return std::make_unique<X11SplashWindow>(
        std::move(display), X11SplashWindow::Names{"splash", "tarvelin2", "Tarvelin2"}, [] {
            const QImage picture = splashImage().convertToFormat(QImage::Format_RGB32);
            // 32-bit rows have no padding: the words lie one after the other.
            const auto* words = reinterpret_cast<const QRgb*>(picture.constBits());
            return X11SplashWindow::Picture{
                picture.width(),
                picture.height(),
                {words, words + size_t(picture.width()) * size_t(picture.height())}};
        });
}

Tsplash::Tsplash(std::unique_ptr<X11SplashWindow> prepared)
    // A splash window to the window manager: no task-bar button, no frame, above the others.
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      Image1(new QLabel(this)),
      m_prepared(std::move(prepared)) {
    setObjectName(QStringLiteral("splash"));
    setWindowTitle(QStringLiteral("splash"));
    Image1->setObjectName(QStringLiteral("Image1"));
    // A prepared window shows the picture instead of this one, which then never shows.
    if (!m_prepared) Image1->setPixmap(splashPicture());
    Image1->setGeometry(0, 0, kWidth, kHeight);
    setFixedSize(kWidth, kHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->geometry();
        move(desktop.x() + (desktop.width() - kWidth) / 2, desktop.y() + (desktop.height() - kHeight) / 2);
    }
    qApp->installEventFilter(this);
}

Tsplash::~Tsplash() {
    qApp->removeEventFilter(this);
}

void Tsplash::showAndPaint() {
    // Prepared while the toolkit connected, on the same server: mapping it is all that is left to do.
    if (m_prepared && !m_prepared->failed() && QGuiApplication::platformName() == QLatin1String("xcb")) {
        m_prepared->show();
        return;
    }
    m_prepared.reset();
    if (Image1->pixmap().isNull()) Image1->setPixmap(splashPicture());
    // Where the X server draws the picture itself the window is never blank, so there is nothing to wait for
    // before the main window is built.
    create();
    if (setX11WindowBackground(*windowHandle(), Image1->pixmap().toImage())) {
        show();
        return;
    }
    show();
    QElapsedTimer waited;
    waited.start();
    while (windowHandle() && !windowHandle()->isExposed() && waited.elapsed() < kExposeWaitMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (!windowHandle()->isExposed()) QThread::msleep(1);
    }
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool Tsplash::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate) release();
    return QWidget::event(event);
}

bool Tsplash::eventFilter(QObject* watched, QEvent* event) {
    if (watched == this || !watched->isWidgetType()) return false;
    const auto* widget = static_cast<const QWidget*>(watched);
    if (event->type() == QEvent::Show && widget->isWindow() && !m_shownWindow) {
        m_shownWindow = widget;
        QTimer::singleShot(kFirstFrameWaitMs, this, &Tsplash::release);
    } else if (event->type() == QEvent::Paint && !m_frameDrawn && m_shownWindow &&
               widget->window() == m_shownWindow) {
        // Taken down once that frame is on the screen: the display server's work for the splash then does
        // not delay it, and no moment shows neither window.
        m_frameDrawn = true;
        QTimer::singleShot(0, this, &Tsplash::release);
    }
    return false;
}

void Tsplash::release() {
    if (m_released) return;
    m_released = true;
    qApp->removeEventFilter(this);
    m_prepared.reset();
    hide();
    emit released();
    // Asked from inside the event loop: a deleteLater() asked during the start, before the loop runs, inside
    // another window's show event, would wait for the end of the program.
    QTimer::singleShot(0, this, &QObject::deleteLater);
}

}  // namespace tarvelin
