#include "platform/palette_colours.h"

#include <QGuiApplication>
#include <QWidget>

namespace tarvelin {
namespace {

struct SchemeColour {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The nearest palette role for each desktop-scheme index.
SchemeColour schemeColour(unsigned index) {
    using P = QPalette;
    switch (index) {
        case 0:
            return {P::Active, P::Button};  // scroll bar
        case 1:
            return {P::Active, P::Window};  // desktop
        case 2:
            return {P::Active, P::Highlight};  // active caption
        case 3:
            return {P::Inactive, P::Highlight};  // inactive caption
        case 4:
            return {P::Active, P::Window};  // menu
        case 5:
            return {P::Active, P::Base};  // window background
        case 6:
            return {P::Active, P::Shadow};  // window frame
        case 7:
            return {P::Active, P::WindowText};  // menu text
        case 8:
            return {P::Active, P::Text};  // window text
        case 9:
            return {P::Active, P::HighlightedText};  // caption text
        case 10:
            return {P::Active, P::Window};  // active border
        case 11:
            return {P::Active, P::Window};  // inactive border
        case 12:
            return {P::Active, P::Dark};  // application workspace
        case 13:
            return {P::Active, P::Highlight};  // highlight
        case 14:
            return {P::Active, P::HighlightedText};  // highlighted text
        case 15:
            return {P::Active, P::Button};  // button face
        case 16:
            return {P::Active, P::Mid};  // button shadow
        case 17:
            return {P::Disabled, P::Text};  // grey text
        case 18:
            return {P::Active, P::ButtonText};  // button text
        case 19:
            return {P::Inactive, P::HighlightedText};
        case 20:
            return {P::Active, P::Light};  // button highlight
        case 21:
            return {P::Active, P::Shadow};  // 3D dark shadow
        case 22:
            return {P::Active, P::Midlight};  // 3D light
        case 23:
            return {P::Active, P::ToolTipText};
        case 24:
            return {P::Active, P::ToolTipBase};
        case 26:
            return {P::Active, P::Link};  // hot-tracked item
        case 27:
            return {P::Active, P::Highlight};  // gradient of the active caption
        case 28:
            return {P::Inactive, P::Highlight};
        case 29:
            return {P::Active, P::Highlight};  // menu highlight
        case 30:
            return {P::Active, P::Window};  // menu bar
        default:
            return {P::Active, P::Base};
    }
}

}  // namespace

QColor toQColor(ColourValue colour, const QPalette& palette) {
    if (isSystemColour(colour)) {
        const SchemeColour s = schemeColour(systemColourIndex(colour));
        return palette.color(s.group, s.role);
    }
    return QColor(static_cast<int>(redOf(colour)), static_cast<int>(greenOf(colour)),
                  static_cast<int>(blueOf(colour)));
}

QColor toQColor(ColourValue colour) {
    return toQColor(colour, QGuiApplication::palette());
}

ColourValue fromQColor(const QColor& colour) {
    return rgbColour(static_cast<unsigned>(colour.red()), static_cast<unsigned>(colour.green()),
                     static_cast<unsigned>(colour.blue()));
}

void paintBackground(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void paintToolBarBackground(QWidget* toolBar, const QColor& colour) {
    paintBackground(toolBar, QPalette::Window, colour);
    paintBackground(toolBar, QPalette::Button, colour);
}

void paintText(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Text, colour);
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

}  // namespace tarvelin
