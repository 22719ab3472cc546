#include "app/active_list_mark.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>

namespace tarvelin {

ActiveListMark::ActiveListMark(QMdiArea* area) : QWidget(area->viewport()) {
    setObjectName(QStringLiteral("ActiveListMark"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void ActiveListMark::follow(QMdiSubWindow* frame) {
    if (m_frame == frame) {
        place();
        return;
    }
    if (m_frame) m_frame->removeEventFilter(this);
    m_frame = frame;
    if (m_frame) m_frame->installEventFilter(this);
    place();
}

void ActiveListMark::place() {
    const bool shown = m_frame && m_frame->isVisible() &&
                       !(m_frame->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized));
    if (!shown) {
        hide();
        return;
    }
    setGeometry(m_frame->geometry());
    show();
    raise();  // above the window it marks, which activation has just raised
}

bool ActiveListMark::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::WindowStateChange:
        case QEvent::ZOrderChange:
            if (watched == m_frame) place();
            break;
        default:
            break;
    }
    return false;
}

void ActiveListMark::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor colour = palette().color(QPalette::Active, QPalette::Highlight);
    const QRect all = rect();
    // Four bands along the edges; the window below shows through the middle.
    painter.fillRect(QRect(0, 0, all.width(), kWidth), colour);
    painter.fillRect(QRect(0, all.height() - kWidth, all.width(), kWidth), colour);
    painter.fillRect(QRect(0, 0, kWidth, all.height()), colour);
    painter.fillRect(QRect(all.width() - kWidth, 0, kWidth, all.height()), colour);
}

}  // namespace tarvelin
