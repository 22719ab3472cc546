#include "app/list_handover.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <optional>

#include "platform/local_socket.h"

namespace tarvelin {
namespace {

// A message is a 32-bit byte count, then the paths, each as a 32-bit length and its bytes, all counts
// big-endian (a length of all ones is an empty path). The bounds keep a stray writer on the socket from
// making the program allocate without limit.
constexpr std::uint32_t kMaxMessageBytes = 4 * 1024 * 1024;
constexpr std::uint32_t kNoBytes = 0xFFFFFFFF;
constexpr char kTaken = 'k';

void appendCount(std::string& out, std::uint32_t count) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((count >> shift) & 0xFF));
}

std::uint32_t countAt(std::string_view bytes) {
    std::uint32_t count = 0;
    for (int i = 0; i < 4; ++i)
        count = (count << 8) | static_cast<unsigned char>(bytes[static_cast<size_t>(i)]);
    return count;
}

std::string encode(const std::vector<std::string>& files) {
    std::string body;
    for (const std::string& file : files) {
        appendCount(body, static_cast<std::uint32_t>(file.size()));
        body += file;
    }
    std::string message;
    appendCount(message, static_cast<std::uint32_t>(body.size()));
    return message + body;
}

// Nothing when the body is malformed.
std::optional<std::vector<std::string>> decode(std::string_view body) {
    std::vector<std::string> files;
    while (!body.empty()) {
        if (body.size() < 4) return std::nullopt;
        const std::uint32_t size = countAt(body);
        body.remove_prefix(4);
        if (size == kNoBytes) {
            files.emplace_back();
            continue;
        }
        if (size > body.size()) return std::nullopt;
        files.emplace_back(body.substr(0, size));
        body.remove_prefix(size);
    }
    return files;
}

// A folder, itself no link, owned by this user, that nobody else may enter or list.
bool privateFolder(const QString& folder) {
    struct stat st;
    return ::lstat(QFile::encodeName(folder).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

// A bare name lies in the temporary folder, which all share.
std::string socketPath(const QString& name) {
    return QFile::encodeName(name.startsWith(QLatin1Char('/')) ? name
                                                               : QDir::tempPath() + QLatin1Char('/') + name)
        .toStdString();
}

// One later start's message, read as it comes; answered, or dropped when it is no list of paths.
class HandoverConnection : public QObject {
public:
    HandoverConnection(FileDescriptor fd, ListHandoverServer* server)
        : QObject(server),
          m_fd(std::move(fd)),
          m_notifier(new QSocketNotifier(m_fd.get(), QSocketNotifier::Read, this)) {
        connect(m_notifier, &QSocketNotifier::activated, this, [this, server] { read(*server); });
    }

    void read(ListHandoverServer& server) {
        char chunk[65536];
        while (!complete()) {
            const ssize_t got = ::recv(m_fd.get(), chunk, sizeof chunk, 0);
            if (got > 0) {
                m_bytes.append(chunk, static_cast<size_t>(got));
                if (m_bytes.size() >= 4 && countAt(m_bytes) > kMaxMessageBytes) return finish();
            } else if (got < 0 && errno == EINTR) {
                continue;
            } else if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                return;  // the rest comes later
            } else {
                return finish();  // the end of the stream, or an error
            }
        }
        const std::optional<std::vector<std::string>> files =
            decode(std::string_view(m_bytes).substr(4, countAt(m_bytes)));
        if (files) sendAll(m_fd.get(), std::string_view(&kTaken, 1), std::chrono::milliseconds(1000));
        finish();
        if (files) emit server.filesReceived(*files);
    }

private:
    bool complete() const { return m_bytes.size() >= 4 && m_bytes.size() - 4 >= countAt(m_bytes); }

    void finish() {
        m_notifier->setEnabled(false);
        m_fd.reset();
        deleteLater();
    }

    FileDescriptor m_fd;
    QSocketNotifier* m_notifier;
    std::string m_bytes;
};

}  // namespace

QString handoverName(const std::string& programFolder) {
    const QByteArray folderKey =
        QCryptographicHash::hash(QByteArray::fromStdString(programFolder), QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    const QString name =
        QStringLiteral("tarvelin2-%1-%2").arg(::getuid()).arg(QString::fromLatin1(folderKey));
    // The user's own runtime folder when the session has one; else a folder of the user's own in the
    // temporary folder; failing that (somebody else made it), Qt's place for sockets, the temporary folder
    // itself, where the user id in the name keeps users apart.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) return runtime + QLatin1Char('/') + name;
    const QString own = QDir::tempPath() + QStringLiteral("/tarvelin2-%1").arg(::getuid());
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    return privateFolder(own) ? own + QLatin1Char('/') + name : name;
}

bool handOverToRunningProgram(const QString& name, const std::vector<std::string>& files, int timeoutMs) {
    const std::chrono::milliseconds timeout(timeoutMs);
    const FileDescriptor socket = connectLocalSocket(socketPath(name), timeout);
    return socket.valid() && sendAll(socket.get(), encode(files), timeout) &&
           receiveByte(socket.get(), timeout) == kTaken;
}

ListHandoverServer::ListHandoverServer(QObject* parent) : QObject(parent) {}

ListHandoverServer::~ListHandoverServer() {
    close();
}

bool ListHandoverServer::listen(const QString& name) {
    close();
    const std::string path = socketPath(name);
    // A socket left by a program that ended without removing it is taken over; a live one is not.
    if (connectLocalSocket(path, std::chrono::milliseconds(1000)).valid()) return false;
    // In a folder only this user may enter, such as the session's runtime folder, the socket is private as it
    // stands; elsewhere it is made so before anyone can reach it.
    m_listener =
        listenLocalSocket(path, privateFolder(QFileInfo(QFile::decodeName(path.c_str())).absolutePath()));
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
    for (FileDescriptor socket = acceptLocalSocket(m_listener.get()); socket.valid();
         socket = acceptLocalSocket(m_listener.get()))
        (new HandoverConnection(std::move(socket), this))->read(*this);
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
