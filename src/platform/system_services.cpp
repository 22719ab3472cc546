#include "platform/system_services.h"

#include <QApplication>

namespace tarvelin {

QDateTime SystemClock::now() {
    return QDateTime::currentDateTime();
}

void SystemBeeper::beep() {
    QApplication::beep();
}

}  // namespace tarvelin
