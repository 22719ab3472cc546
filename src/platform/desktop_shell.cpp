#include "platform/desktop_shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace tarvelin {

QByteArray fileUrlOf(const std::string& path) {
    return "file://" + QByteArray::fromStdString(path).toPercentEncoding("/");
}

bool DesktopShell::openPath(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromEncoded(fileUrlOf(path), QUrl::StrictMode));
}

void DesktopShell::openUrl(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

}  // namespace tarvelin
