#include "app/list_handover.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>

#include "app/handover_message.h"
#include "platform/local_socket.h"

namespace tarvelin {
namespace {

constexpr char kTaken = 'k';
// How many later starts may be read at once: each holds a descriptor until it has sent its message.
constexpr size_t kMaxConnections = 16;
// After the process ran out of descriptors, accepting is tried again this much later, not at once.
constexpr std::chrono::milliseconds kAcceptRetry(250);

}  // namespace

// One later start's message, read as it comes; answered, or dropped when it is no list of paths or does not
// come whole in time.
class ListHandoverServer::Connection : public QObject {
public:
    Connection(FileDescriptor fd, ListHandoverServer& server)
        : QObject(&server),
          m_server(server),
          m_fd(std::move(fd)),
          m_notifier(new QSocketNotifier(m_fd.get(), QSocketNotifier::Read, this)) {
        connect(m_notifier, &QSocketNotifier::activated, this, &Connection::read);
        QTimer::singleShot(server.m_messageTimeout, this, &Connection::finish);
    }

    void read() {
        char chunk[65536];
        HandoverMessageReader::State state = HandoverMessageReader::State::More;
        while (state == HandoverMessageReader::State::More) {
            const ssize_t got = ::recv(m_fd.get(), chunk, sizeof chunk, 0);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;  // the rest comes later
            // The end of the stream or an error before the message is whole drops it.
            state = got > 0 ? m_message.add(std::string_view(chunk, static_cast<size_t>(got)))
                            : HandoverMessageReader::State::Bad;
        }
        const bool taken = state == HandoverMessageReader::State::Done;
        if (taken) sendAll(m_fd.get(), std::string_view(&kTaken, 1), std::chrono::milliseconds(1000));
        ListHandoverServer& server = m_server;
        const std::vector<std::string> files = m_message.files();
        finish();
        if (taken) emit server.filesReceived(files);
    }

    // Closes at once, so that the descriptor is free before the next is taken.
    void finish() {
        if (!m_fd.valid()) return;
        m_notifier->setEnabled(false);
        m_fd.reset();
        m_server.forget(this);
        deleteLater();
    }

private:
    ListHandoverServer& m_server;
    FileDescriptor m_fd;
    QSocketNotifier* m_notifier;
    HandoverMessageReader m_message;
};

QString handoverName(const std::string& programFolder) {
    return handoverName(programFolder, qgetenv("XDG_RUNTIME_DIR").toStdString(),
                        QFile::encodeName(QDir::tempPath()).toStdString());
}

QString handoverName(const std::string& programFolder, const std::string& runtimeFolder,
                     const std::string& temporaryFolder) {
    const QByteArray folderKey =
        QCryptographicHash::hash(QByteArray::fromStdString(programFolder), QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    const QString name =
        QStringLiteral("/tarvelin2-%1-%2").arg(::getuid()).arg(QString::fromLatin1(folderKey));
    // Only in a folder of our own that nobody else may enter: anywhere else another user could listen on the
    // name first, and so learn which lists are opened and keep every start from showing a window. A folder
    // somebody else made first under our name is no folder of ours.
    if (runtimeFolder.starts_with('/') && isPrivateFolder(runtimeFolder))
        return QFile::decodeName(runtimeFolder.c_str()) + name;
    const std::string own = temporaryFolder + "/tarvelin2-" + std::to_string(::getuid());
    ::mkdir(own.c_str(), 0700);
    return isPrivateFolder(own) ? QFile::decodeName(own.c_str()) + name : QString();
}

bool handOverToRunningProgram(const QString& name, const std::vector<std::string>& files, int timeoutMs) {
    if (name.isEmpty()) return false;
    const std::chrono::milliseconds timeout(timeoutMs);
    const FileDescriptor socket = connectLocalSocket(QFile::encodeName(name).toStdString(), timeout);
    return socket.valid() && peerIsThisUser(socket.get()) &&
           sendAll(socket.get(), encodeHandoverMessage(files), timeout) &&
           receiveByte(socket.get(), timeout) == kTaken;
}

ListHandoverServer::ListHandoverServer(QObject* parent, std::chrono::milliseconds messageTimeout)
    : QObject(parent), m_messageTimeout(messageTimeout) {}

ListHandoverServer::~ListHandoverServer() {
    close();
}

bool ListHandoverServer::listen(const QString& name) {
    close();
    const std::string path = QFile::encodeName(name).toStdString();
    if (name.isEmpty() || !isPrivateFolder(QFile::encodeName(QFileInfo(name).absolutePath()).toStdString()))
        return false;
    // A socket left by a program that ended without removing it is taken over; a live one is not.
    if (connectLocalSocket(path, std::chrono::milliseconds(1000)).valid()) return false;
    m_listener = listenLocalSocket(path);
    struct stat st;
    if (!m_listener.valid() || ::stat(path.c_str(), &st) != 0) {
        m_listener.reset();
        return false;
    }
    m_path = path;
    m_device = st.st_dev;
    m_inode = st.st_ino;
    m_notifier = new QSocketNotifier(m_listener.get(), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ListHandoverServer::accept);
    return true;
}

void ListHandoverServer::accept() {
    for (;;) {
        FileDescriptor socket = acceptLocalSocket(m_listener.get());
        if (!socket.valid()) {
            if (errno != EAGAIN && errno != EWOULDBLOCK) pauseAccepting();
            return;
        }
        if (!peerIsThisUser(socket.get())) continue;  // dropped unread
        // A start sends its message as soon as it connects, so the oldest is the one least likely to be one.
        if (m_connections.size() >= kMaxConnections) m_connections.front()->finish();
        auto* connection = new Connection(std::move(socket), *this);
        m_connections.push_back(connection);
        connection->read();
    }
}

// The connection waiting in the queue would keep the notifier firing at once, and the program spinning.
void ListHandoverServer::pauseAccepting() {
    m_notifier->setEnabled(false);
    QTimer::singleShot(kAcceptRetry, m_notifier, [notifier = m_notifier] { notifier->setEnabled(true); });
}

void ListHandoverServer::forget(Connection* connection) {
    m_connections.erase(std::find(m_connections.begin(), m_connections.end(), connection));
}

void ListHandoverServer::close() {
    if (!m_listener.valid()) return;
    delete m_notifier;
    m_notifier = nullptr;
    m_listener.reset();
    struct stat st;
    if (::lstat(m_path.c_str(), &st) == 0 && st.st_dev == m_device && st.st_ino == m_inode)
        ::unlink(m_path.c_str());
    m_path.clear();
}

}  // namespace tarvelin
