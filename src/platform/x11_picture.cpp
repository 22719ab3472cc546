#include "platform/x11_picture.h"

#include <bit>

namespace tarvelin {
namespace {

// Whether the server takes 32-bit words as they lie in this machine's memory, for windows of this depth.
bool takesNativeWords(xcb_connection_t* connection, int depth) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    if (depth != 24 && depth != 32) return false;
    if ((setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST) !=
        (std::endian::native == std::endian::little))
        return false;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it))
        if (it.data->depth == depth) return it.data->bits_per_pixel == 32;
    return false;
}

}  // namespace

xcb_pixmap_t x11PicturePixmap(xcb_connection_t* connection, xcb_drawable_t drawable, int depth, int width,
                              int height, const std::uint32_t* words) {
    const auto bytes = std::uint64_t(width) * std::uint64_t(height) * 4;
    // The whole picture goes in one request, in 4-byte units with the request's own header.
    if (width <= 0 || height <= 0 || !takesNativeWords(connection, depth) ||
        bytes / 4 + 8 > xcb_get_maximum_request_length(connection))
        return XCB_NONE;
    const xcb_pixmap_t pixmap = xcb_generate_id(connection);
    xcb_create_pixmap(connection, std::uint8_t(depth), pixmap, drawable, std::uint16_t(width),
                      std::uint16_t(height));
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    xcb_create_gc(connection, gc, pixmap, 0, nullptr);
    xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, std::uint16_t(width),
                  std::uint16_t(height), 0, 0, 0, std::uint8_t(depth), std::uint32_t(bytes),
                  reinterpret_cast<const std::uint8_t*>(words));
    xcb_free_gc(connection, gc);
    return pixmap;
}

}  // namespace tarvelin
