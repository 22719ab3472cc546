#include "app/bevel_panel.h"

#include <QPainter>

namespace tarvelin {
namespace {

// One ring inside r: the top and left edges in topLeft, the bottom and right edges in bottomRight.
void drawRing(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    painter.setPen(topLeft);
    painter.drawLine(r.left(), r.top(), r.right() - 1, r.top());
    painter.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
    painter.setPen(bottomRight);
    painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

}  // namespace

BevelPanel::BevelPanel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BevelPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& p = palette();
    painter.fillRect(rect(), p.color(QPalette::Button));
    drawRing(painter, rect(), p.color(QPalette::Dark), p.color(QPalette::Light));
    drawRing(painter, rect().adjusted(1, 1, -1, -1), p.color(QPalette::Light), p.color(QPalette::Dark));
}

}  // namespace tarvelin
