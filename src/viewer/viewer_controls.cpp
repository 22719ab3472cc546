#include "viewer/viewer_controls.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace tarvelin {

const QColor BarLabel::kGreen(0, 128, 0);
const QColor BarLabel::kLime(0, 255, 0);

BarLabel::BarLabel(const QString& name, const QString& text, int x, QWidget* bar) : QLabel(text, bar) {
    setObjectName(name);
    setColour(kGreen);
    adjustSize();
    setGeometry(x, 0, width(), bar->height());
}

void BarLabel::setColour(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, colour);
    setPalette(p);
}

void BarLabel::enterEvent(QEnterEvent*) {
    setColour(kLime);
}

void BarLabel::leaveEvent(QEvent*) {
    setColour(kGreen);
}

void BarLabel::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
}

void BarLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click) emit clicked();
}

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Image1"));
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PictureView::setPicture(PicturePtr picture) {
    m_picture = std::move(picture);
    update();
}

QRect PictureView::pictureRect() const {
    if (!m_picture || !m_picture->ok()) return {};
    const PixelSize full = shownSize(*m_picture);
    if (m_mode == PictureControl::Mode::ActualSize) return {0, 0, full.width, full.height};
    const PixelRect r = fitRect(full, {width(), height()});
    return {r.left, r.top, r.width, r.height};
}

void PictureView::paintEvent(QPaintEvent* event) {
    const QRect target = pictureRect();
    const QRect visible = target.intersected(event->rect());
    if (visible.isEmpty()) return;
    const QImage& image = m_picture->image;
    // The part of the picture behind the visible part of the control, in the decoded image's pixels.
    const double sx = double(image.width()) / target.width(), sy = double(image.height()) / target.height();
    const QRectF source((visible.x() - target.x()) * sx, (visible.y() - target.y()) * sy,
                        visible.width() * sx, visible.height() * sy);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, image.size() != target.size());
    painter.drawImage(QRectF(visible), image, source);
}

void PictureView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit leftPressed(event->globalPosition().toPoint());
    QWidget::mousePressEvent(event);
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) emit leftDragged(event->globalPosition().toPoint());
}

}  // namespace tarvelin
