#pragma once

#include <QObject>

namespace tarvelin {

// For the start-up benchmark: when TARVELIN2_FIRST_PAINT_REPORT is set, the first painted frame of the
// watched window prints "first-paint-ms T vmhwm-kb M" (T since TARVELIN2_START_NS, a CLOCK_REALTIME stamp
// taken before the process started) and ends the program without touching any file.
class FirstPaintReport : public QObject {
    Q_OBJECT
public:
    static bool requested();
    explicit FirstPaintReport(QWidget* watched);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void report();
    QWidget* m_window;
    bool m_seen = false;
};

}  // namespace tarvelin
