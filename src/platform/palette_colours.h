#pragma once

#include <QColor>
#include <QPalette>

#include "platform/colour_value.h"

namespace tarvelin {

// The colour to paint with: RGB values as they are, desktop-scheme colours from the current palette.
QColor toQColor(ColourValue colour, const QPalette& palette);
QColor toQColor(ColourValue colour);  // with the application's palette

ColourValue fromQColor(const QColor& colour);

}  // namespace tarvelin
