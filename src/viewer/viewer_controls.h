#pragma once

#include <QLabel>
#include <QWidget>

#include "viewer/picture_loader.h"
#include "viewer/view_geometry.h"

namespace tarvelin {

// A label of the viewer's command bar: lime under the pointer, green otherwise; a left click runs its
// command.
class BarLabel final : public QLabel {
    Q_OBJECT
public:
    static const QColor kGreen, kLime;
    BarLabel(const QString& name, const QString& text, int x, QWidget* bar);

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setColour(const QColor& colour);
    bool m_pressed = false;
};

// `Image1`: draws the picture scaled into its own bounds (fitted and centred), or 1:1 at actual size. Only
// the part on screen is drawn, so a zoomed picture costs no memory however large the control grows.
class PictureView final : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent);
    void setPicture(PicturePtr picture);
    const PicturePtr& picture() const { return m_picture; }
    void setMode(PictureControl::Mode mode) { m_mode = mode; }
    // Where the picture lies in the control.
    QRect pictureRect() const;

signals:
    void leftPressed(const QPoint& globalPos);
    void leftDragged(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    PicturePtr m_picture;
    PictureControl::Mode m_mode = PictureControl::Mode::Fit;
};

}  // namespace tarvelin
