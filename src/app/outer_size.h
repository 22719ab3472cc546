#pragma once

#include <QObject>
#include <QSize>

class QWidget;

namespace tarvelin {

// Gives a top-level window an outer size, frame included. The frame is known only after a window manager has
// framed the window and it is mapped, so the inner size is set again at the window's first exposure; without
// a window manager there is no frame and the size stands as given.
class OuterSize final : public QObject {
public:
    OuterSize(QWidget& window, QSize outer);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Sets the inner size for the known frame; false while there is no frame yet.
    bool applyFrame();

    QWidget& m_window;
    QSize m_outer;
};

}  // namespace tarvelin
