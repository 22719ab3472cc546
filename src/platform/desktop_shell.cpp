#include "platform/desktop_shell.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QUrl>
#include <thread>

#include "platform/dialogs.h"
#include "platform/display_name.h"

namespace tarvelin {

QByteArray fileUrlOf(const std::string& path) {
    return "file://" + QByteArray::fromStdString(path).toPercentEncoding("/");
}

QString openerArgumentOf(const std::string& path) {
    const std::string local = path.empty() || path.front() == '/' ? path : "./" + path;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(QByteArray::fromStdString(local));
    if (!utf8.hasError()) return text;
    return QString::fromLatin1(fileUrlOf(local));
}

DesktopShell::DesktopShell(Dialogs& dialogs) : m_dialogs(dialogs), m_alive(std::make_shared<bool>(true)) {}

DesktopShell::~DesktopShell() {
    *m_alive = false;
}

bool DesktopShell::openPath(const std::string& path) {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) return false;
    std::thread([this, alive = m_alive, opener, path] {
        struct stat status;
        if (::stat(path.c_str(), &status) == 0) {
            QProcess::startDetached(opener, {openerArgumentOf(path)});
            return;
        }
        QCoreApplication* app = QCoreApplication::instance();
        if (!app) return;
        const QString message = QStringLiteral("%1 が見つかりません").arg(displayName(path));
        QMetaObject::invokeMethod(
            app,
            [this, alive, message] {
                if (*alive) m_dialogs.message(message);
            },
            Qt::QueuedConnection);
    }).detach();
    return true;
}

void DesktopShell::openUrl(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

}  // namespace tarvelin
