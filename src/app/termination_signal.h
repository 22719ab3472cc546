#pragma once

#include <QObject>

class QSocketNotifier;

namespace tarvelin {

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the GUI thread, so that a logout or `kill` closes the
// main window the way its "終了" command does.
class TerminationSignal : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignal(QObject* parent = nullptr);
    ~TerminationSignal() override;

signals:
    void received();

private:
    void drain();
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace tarvelin
