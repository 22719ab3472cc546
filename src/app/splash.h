#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "platform/x11_splash_window.h"

class QImage;
class QLabel;

namespace tarvelin {

// The splash window: the 197 x 124 picture, frameless, on top, centred, covering the start. It goes away for
// good as soon as it loses the activation or another window of the program (the main window, a message box
// of the start) has drawn its first frame: without a window manager nothing is ever activated, and the splash
// must not stay.
// On X11 the picture is normally shown by an X11SplashWindow prepared before the application object (see
// prepareX11Splash); this widget then stays hidden and only decides when the splash goes.
class Tsplash : public QWidget {
    Q_OBJECT
public:
    explicit Tsplash(std::unique_ptr<X11SplashWindow> prepared = nullptr);
    ~Tsplash() override;

    // Shows the splash and has it painted at once, without waiting for the event loop to run.
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
    QPointer<const QWidget> m_shownWindow;  // the first other window shown
    bool m_frameDrawn = false;              // that window has begun its first frame
    std::unique_ptr<X11SplashWindow> m_prepared;
};

// The splash picture, as compiled into the program.
QImage splashImage();
QPixmap splashPicture();

// Where the toolkit is going to run on X11, starts preparing the splash on a connection of its own, so that
// it is ready to show once the application object is set up; null elsewhere. args: argv without the program
// name.
std::unique_ptr<X11SplashWindow> prepareX11Splash(const std::vector<std::string>& args);

}  // namespace tarvelin
