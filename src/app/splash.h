#pragma once

#include <QWidget>

class QLabel;

namespace tarvelin {

// The splash window: the 197 x 124 picture, frameless, on top, centred, covering the start. It goes away for
// good as soon as it loses the activation or another window of the program shows (the main window, a message
// box of the start): without a window manager nothing is ever activated, and the splash must not stay.
class Tsplash : public QWidget {
    Q_OBJECT
public:
    Tsplash();
    ~Tsplash() override;

    // Shows the window and paints it at once, without waiting for the event loop to run.
    void showAndPaint();

    QLabel* Image1;

signals:
    void released();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void release();
    bool m_released = false;
};

// The splash picture, as compiled into the program.
QPixmap splashPicture();

}  // namespace tarvelin
