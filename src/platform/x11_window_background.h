#pragma once

class QImage;
class QWindow;

namespace tarvelin {

// Gives an X11 window a picture as its background, so that the X server draws it the moment it maps the
// window, before the program has painted anything: a window shown while the program is busy is never blank.
// The window must have been created; the picture is drawn from its top left corner at one pixel a pixel.
// False, and nothing changed, where the display is not X11 or the server cannot take the picture.
bool setX11WindowBackground(QWindow& window, const QImage& picture);

}  // namespace tarvelin
