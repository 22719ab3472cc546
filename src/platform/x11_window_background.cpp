#include "platform/x11_window_background.h"

#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>
#include <QImage>
#include <QSysInfo>
#include <QWindow>
#include <cstdlib>

namespace tarvelin {
namespace {

// Bits a pixel takes in the server's ZPixmap images of this depth; 0 when it has no such format.
int bitsPerPixel(xcb_connection_t* connection, int depth) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it))
        if (it.data->depth == depth) return it.data->bits_per_pixel;
    return 0;
}

}  // namespace

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
    // 32-bit words of blue, green, red and a fourth byte: what the server takes for 24 and 32 bits deep
    // windows in the byte order of this machine.
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const bool littleEndian = QSysInfo::ByteOrder == QSysInfo::LittleEndian;
    if ((depth != 24 && depth != 32) || bitsPerPixel(connection, depth) != 32 ||
        (setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST) != littleEndian)
        return false;
    const QImage picture = source.convertToFormat(QImage::Format_ARGB32);  // opaque where the source is
    const auto bytes = static_cast<uint32_t>(picture.sizeInBytes());
    // The whole picture goes in one request, in 4-byte units with the request's own header.
    if (bytes / 4 + 8 > xcb_get_maximum_request_length(connection)) return false;

    const xcb_pixmap_t pixmap = xcb_generate_id(connection);
    xcb_create_pixmap(connection, depth, pixmap, id, picture.width(), picture.height());
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    xcb_create_gc(connection, gc, pixmap, 0, nullptr);
    xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, picture.width(), picture.height(), 0, 0,
                  0, depth, bytes, picture.constBits());
    xcb_change_window_attributes(connection, id, XCB_CW_BACK_PIXMAP, &pixmap);
    // The window keeps the picture; the server frees the pixmap when the window lets go of it.
    xcb_free_gc(connection, gc);
    xcb_free_pixmap(connection, pixmap);
    xcb_flush(connection);
    return true;
}

}  // namespace tarvelin
