#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace tarvelin {

// A pair of arrow buttons that steps a whole number between a minimum and a maximum without wrapping and
// shows it in an associated edit box, the way a spin control's arrows beside a separate box do.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit& associate, int minimum, int maximum, int position, QWidget* parent = nullptr);

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int position() const { return m_position; }
    // Clamps to the range and writes the number into the associated box.
    void setPosition(int position);
    // One step up or down from the number the box holds (from the position when it holds none).
    void step(int delta);

    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

private:
    QLineEdit& m_associate;
    int m_minimum;
    int m_maximum;
    int m_position;
    QToolButton* m_up;
    QToolButton* m_down;
};

}  // namespace tarvelin
