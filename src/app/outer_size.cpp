#include "app/outer_size.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace tarvelin {

OuterSize::OuterSize(QWidget& window, QSize outer) : QObject(&window), m_window(window), m_outer(outer) {
    m_window.resize(outer);
    m_window.installEventFilter(this);
}

bool OuterSize::eventFilter(QObject* watched, QEvent* event) {
    QWindow* handle = m_window.windowHandle();
    if (watched == &m_window && event->type() == QEvent::Show && handle) {
        m_window.removeEventFilter(this);
        // Where the frame is known at once it is taken now; a window manager's frame comes with the exposure.
        if (!applyFrame()) handle->installEventFilter(this);
    } else if (watched == handle && event->type() == QEvent::Expose && handle->isExposed()) {
        handle->removeEventFilter(this);
        applyFrame();
    }
    return false;
}

bool OuterSize::applyFrame() {
    const QSize frame = m_window.frameGeometry().size() - m_window.geometry().size();
    if (frame.isNull()) return false;  // a frame may have no side borders, only a title bar
    if (m_window.windowState() == Qt::WindowNoState) m_window.resize(m_outer - frame);
    deleteLater();
    return true;
}

}  // namespace tarvelin
