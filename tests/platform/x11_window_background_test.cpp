#include "platform/x11_window_background.h"

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>
#include <QImage>
#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <memory>

namespace tarvelin {
namespace {

// What the X server holds in the window now, as the program has not painted it.
QImage windowContents(const QWidget& window) {
    xcb_connection_t* connection =
        qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const auto id = static_cast<xcb_window_t>(window.winId());
    xcb_flush(connection);
    std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> reply(
        xcb_get_image_reply(connection,
                            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, id, 0, 0, window.width(),
                                          window.height(), ~0u),
                            nullptr),
        &std::free);
    if (!reply) return {};
    return QImage(xcb_get_image_data(reply.get()), window.width(), window.height(), QImage::Format_RGB32)
        .copy();
}

TEST(X11WindowBackground, TheServerDrawsThePictureBeforeTheProgramPaintsAnything) {
    ASSERT_NE(qGuiApp->nativeInterface<QNativeInterface::QX11Application>(), nullptr) << "needs an X server";
    QWidget window(nullptr, Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
    window.setGeometry(40, 40, 32, 24);
    QImage picture(32, 24, QImage::Format_RGB32);
    picture.fill(QColor(200, 30, 40));
    picture.setPixelColor(31, 23, QColor(10, 220, 30));  // the far corner: no row or byte is shifted
    window.winId();
    ASSERT_TRUE(setX11WindowBackground(*window.windowHandle(), picture));
    window.show();  // and no event is handled from here on, so nothing is painted by the program

    const QImage shown = windowContents(window);
    ASSERT_EQ(shown.size(), QSize(32, 24));
    EXPECT_EQ(shown.pixel(0, 0) & 0xFFFFFFu, qRgb(200, 30, 40) & 0xFFFFFFu);
    EXPECT_EQ(shown.pixel(16, 12) & 0xFFFFFFu, qRgb(200, 30, 40) & 0xFFFFFFu);
    EXPECT_EQ(shown.pixel(31, 23) & 0xFFFFFFu, qRgb(10, 220, 30) & 0xFFFFFFu);
}

}  // namespace
}  // namespace tarvelin
