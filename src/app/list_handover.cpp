#include "app/list_handover.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace tarvelin {
namespace {

// A message is a 32-bit byte count, then the paths, each as a 32-bit length and its bytes. The bounds keep a
// stray writer on the socket from making the program allocate without limit.
constexpr quint32 kMaxMessageBytes = 4 * 1024 * 1024;
constexpr char kTaken = 'k';

QByteArray encode(const std::vector<std::string>& files) {
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    for (const std::string& file : files) out << QByteArray::fromStdString(file);
    QByteArray message;
    QDataStream head(&message, QIODevice::WriteOnly);
    head << quint32(body.size());
    return message + body;
}

// Nothing when the body is malformed.
std::optional<std::vector<std::string>> decode(const QByteArray& body) {
    QDataStream in(body);
    std::vector<std::string> files;
    while (!in.atEnd()) {
        QByteArray file;
        in >> file;
        if (in.status() != QDataStream::Ok) return std::nullopt;
        files.push_back(file.toStdString());
    }
    return files;
}

// A folder, itself no link, owned by this user, that nobody else may enter or list.
bool privateFolder(const QString& folder) {
    struct stat st;
    return ::lstat(QFile::encodeName(folder).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

bool inPrivateFolder(const QString& socketPath) {
    // A bare name lies in Qt's temporary folder, which all share.
    return socketPath.startsWith(QLatin1Char('/')) && privateFolder(QFileInfo(socketPath).absolutePath());
}

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
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(encode(files));
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    while (socket.bytesAvailable() == 0)
        if (!socket.waitForReadyRead(timeoutMs)) return false;
    return socket.read(1) == QByteArray(1, kTaken);
}

ListHandoverServer::ListHandoverServer(QObject* parent) : QObject(parent), m_server(new QLocalServer(this)) {
    connect(m_server, &QLocalServer::newConnection, this, &ListHandoverServer::accept);
}

bool ListHandoverServer::listen(const QString& name) {
    // Qt puts a new socket in place over an old one without asking: ask first whether it still answers.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(1000)) return false;
    QLocalServer::removeServer(name);
    // In a folder only this user may enter, such as the session's runtime folder, the socket is private as it
    // stands; elsewhere Qt makes it so, at the cost of building it in a folder of its own and moving it over.
    m_server->setSocketOptions(inPrivateFolder(name) ? QLocalServer::NoOptions
                                                     : QLocalServer::UserAccessOption);
    return m_server->listen(name);
}

void ListHandoverServer::accept() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { read(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        read(socket);
    }
}

void ListHandoverServer::read(QLocalSocket* socket) {
    if (socket->bytesAvailable() < qint64(sizeof(quint32))) return;
    quint32 size = 0;
    QDataStream(socket->peek(sizeof size)) >> size;
    if (size > kMaxMessageBytes) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < qint64(sizeof size + size)) return;
    socket->skip(sizeof size);
    const std::optional<std::vector<std::string>> files = decode(socket->read(size));
    if (!files) {
        socket->abort();
        return;
    }
    socket->write(QByteArray(1, kTaken));
    socket->flush();
    emit filesReceived(*files);
}

}  // namespace tarvelin
