#pragma once

#include <sys/types.h>

#include <QObject>
#include <string>
#include <vector>

#include "platform/file_descriptor.h"

class QSocketNotifier;

namespace tarvelin {

// One program per settings folder: a second start hands the lists named on its command line to the program
// already running on the same folder, which would otherwise fight it over "KX2cfg.ini".

// The local socket's name, after the user and the program folder: in the user's runtime folder, else in a
// folder only the user may enter, made in the temporary folder.
QString handoverName(const std::string& programFolder);

// In a second start: true when a running program took the files (it has answered), false when none runs.
bool handOverToRunningProgram(const QString& name, const std::vector<std::string>& files,
                              int timeoutMs = 5000);

// In the running program: receives the files of later starts.
class ListHandoverServer : public QObject {
    Q_OBJECT
public:
    explicit ListHandoverServer(QObject* parent = nullptr);
    // Removes its socket, unless another program has put its own there since.
    ~ListHandoverServer() override;

    // Takes over a socket left by a program that ended without removing it; false when another program
    // answers on it.
    bool listen(const QString& name);

signals:
    void filesReceived(const std::vector<std::string>& files);

private:
    void accept();
    void close();
    FileDescriptor m_listener;
    QSocketNotifier* m_notifier = nullptr;
    std::string m_path;
    dev_t m_device = 0;
    ino_t m_inode = 0;
};

}  // namespace tarvelin
