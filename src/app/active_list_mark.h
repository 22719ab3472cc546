#pragma once

#include <QPointer>
#include <QWidget>

class QMdiArea;
class QMdiSubWindow;

namespace tarvelin {

// A coloured frame over the active list window while the windows are tiled: they have no title bars of their
// own, so nothing else tells which one the menus and commands act on. Hidden while the active window is
// maximised. Passes every mouse event and drop through to the windows below.
class ActiveListMark final : public QWidget {
    Q_OBJECT
public:
    explicit ActiveListMark(QMdiArea* area);

    // The window to mark; nullptr when none is active.
    void follow(QMdiSubWindow* frame);
    static constexpr int kWidth = 3;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();

    QPointer<QMdiSubWindow> m_frame;
};

}  // namespace tarvelin
