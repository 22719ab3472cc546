#include "platform/x11_window_background.h"

#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>
#include <QImage>
#include <QWindow>
#include <cstdlib>

#include "platform/x11_picture.h"

namespace tarvelin {

bool setX11WindowBackground(QWindow& window, const QImage& source) {
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || source.isNull() || !window.handle()) return false;
    const auto id = static_cast<xcb_window_t>(window.winId());

    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr);
    if (!geometry) return false;
    const int depth = geometry->depth;
    std::free(geometry);
    const QImage picture = source.convertToFormat(QImage::Format_ARGB32);  // opaque where the source is
    const xcb_pixmap_t pixmap = x11PicturePixmap(connection, id, depth, picture.width(), picture.height(),
                                                 reinterpret_cast<const uint32_t*>(picture.constBits()));
    if (pixmap == XCB_NONE) return false;
    xcb_change_window_attributes(connection, id, XCB_CW_BACK_PIXMAP, &pixmap);
    // The window keeps the picture; the server frees the pixmap when the window lets go of it.
    xcb_free_pixmap(connection, pixmap);
    xcb_flush(connection);
    return true;
}

}  // namespace tarvelin
