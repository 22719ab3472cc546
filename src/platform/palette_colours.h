#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

#include "platform/colour_value.h"

namespace tarvelin {

// The colour to paint with: RGB values as they are, desktop-scheme colours from the current palette.
QColor toQColor(ColourValue colour, const QPalette& palette);
QColor toQColor(ColourValue colour);  // with the application's palette

ColourValue fromQColor(const QColor& colour);

// A control's background in the given role (Window for panels and bars, Base for lists and trees), filled.
void paintBackground(QWidget* widget, QPalette::ColorRole role, const QColor& colour);
// A toolbar's background: toolbars and their buttons draw from Button, not Window, so both take the colour.
void paintToolBarBackground(QWidget* toolBar, const QColor& colour);
// A control's text colour, for items and labels alike.
void paintText(QWidget* widget, const QColor& colour);

}  // namespace tarvelin
