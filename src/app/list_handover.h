#pragma once

#include <sys/types.h>

#include <QObject>
#include <chrono>
#include <deque>
#include <string>
#include <vector>

#include "platform/file_descriptor.h"

class QSocketNotifier;

namespace tarvelin {

// One program per settings folder: a second start hands the lists named on its command line to the program
// already running on the same folder, which would otherwise fight it over "KX2cfg.ini".

// The local socket's name, after the user and the program folder, in a folder of the user's own that nobody
// else may enter: the session's runtime folder, else one made in the temporary folder. Empty when neither is
// to be had; the program then runs on its own, unreachable by later starts.
QString handoverName(const std::string& programFolder);
// The same for the given runtime folder (empty when the session has none) and temporary folder.
QString handoverName(const std::string& programFolder, const std::string& runtimeFolder,
                     const std::string& temporaryFolder);

// In a second start: true when a running program of this same user took the files (it has answered), false
// when none runs or another user's program listens on the name.
bool handOverToRunningProgram(const QString& name, const std::vector<std::string>& files,
                              int timeoutMs = 5000);

// In the running program: receives the files of later starts.
class ListHandoverServer : public QObject {
    Q_OBJECT
public:
    // A later start that has not sent its whole message within `messageTimeout` of connecting is dropped.
    explicit ListHandoverServer(QObject* parent = nullptr,
                                std::chrono::milliseconds messageTimeout = std::chrono::seconds(2));
    // Removes its socket, unless another program has put its own there since.
    ~ListHandoverServer() override;

    // Takes over a socket left by a program that ended without removing it; false when another program
    // answers on it, or when the socket's folder is not this user's alone.
    bool listen(const QString& name);

signals:
    void filesReceived(const std::vector<std::string>& files);

private:
    class Connection;
    void accept();
    void pauseAccepting();
    void forget(Connection* connection);
    void close();
    FileDescriptor m_listener;
    QSocketNotifier* m_notifier = nullptr;
    std::chrono::milliseconds m_messageTimeout;
    std::deque<Connection*> m_connections;  // oldest first
    std::string m_path;
    dev_t m_device = 0;
    ino_t m_inode = 0;
};

}  // namespace tarvelin
