#include "app/first_paint_report.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>

namespace tarvelin {
namespace {

long peakResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

}  // namespace

bool FirstPaintReport::requested() {
    return qEnvironmentVariableIsSet("TARVELIN2_FIRST_PAINT_REPORT");
}

FirstPaintReport::FirstPaintReport(QWidget* watched) : QObject(watched), m_window(watched) {
    // Children that cover the whole window may be the only ones painted: watch every widget.
    qApp->installEventFilter(this);
}

bool FirstPaintReport::eventFilter(QObject* object, QEvent* event) {
    if (event->type() == QEvent::Paint && !m_seen && object->isWidgetType() &&
        static_cast<QWidget*>(object)->window() == m_window) {
        m_seen = true;
        // The frame reaches the screen when this paint cycle ends; report right after it.
        QTimer::singleShot(0, this, &FirstPaintReport::report);
    }
    return false;
}

void FirstPaintReport::report() {
    const long long start = qEnvironmentVariable("TARVELIN2_START_NS").toLongLong();
    const long long now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                              std::chrono::system_clock::now().time_since_epoch())
                              .count();
    std::printf("first-paint-ms %.2f vmhwm-kb %ld\n", start > 0 ? (now - start) / 1e6 : -1.0,
                peakResidentKb());
    std::fflush(stdout);
    std::_Exit(0);
}

}  // namespace tarvelin
