#pragma once

#include <xcb/xcb.h>

#include <cstdint>

namespace tarvelin {

// A pixmap of `drawable`'s screen holding a picture given as 32-bit words (0xAARRGGBB, row by row; the alpha
// byte counts only in 32-bit-deep windows), sent in one request. XCB_NONE where the server does not take such
// words for windows of that depth in this machine's byte order, or the picture is too large for one request.
// The caller frees it.
xcb_pixmap_t x11PicturePixmap(xcb_connection_t* connection, xcb_drawable_t drawable, int depth, int width,
                              int height, const std::uint32_t* words);

}  // namespace tarvelin
