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
    // The native window exists from the first show on; its exposure comes after the window manager's frame.
    if (watched == &m_window && event->type() == QEvent::Show && m_window.windowHandle()) {
        m_window.removeEventFilter(this);
        m_window.windowHandle()->installEventFilter(this);
    } else if (watched == m_window.windowHandle() && event->type() == QEvent::Expose &&
               m_window.windowHandle()->isExposed()) {
        m_window.windowHandle()->removeEventFilter(this);
        const QSize frame = m_window.frameGeometry().size() - m_window.geometry().size();
        if (!frame.isEmpty() && m_window.windowState() == Qt::WindowNoState) m_window.resize(m_outer - frame);
        deleteLater();
    }
    return false;
}

}  // namespace tarvelin
