#include "widgets/pane_drag.h"

#include <QMimeData>

#include "platform/desktop_shell.h"

namespace tarvelin {

QMimeData* makePaneDragData(const std::vector<std::string>& paths) {
    QByteArray uris;
    QByteArray raw;
    for (const std::string& path : paths) {
        uris += fileUrlOf(path) + "\r\n";
        raw += QByteArray::fromStdString(path);
        raw += '\0';
    }
    auto* data = new QMimeData;
    // Set as bytes: QMimeData::setUrls would go through QUrl, which may normalise the encoding of a path that
    // is not UTF-8.
    data->setData(QStringLiteral("text/uri-list"), uris);
    data->setData(QString::fromLatin1(kPanePathsMime), raw);
    return data;
}

void setPaneDragSource(QMimeData& data, const QString& controlName) {
    data.setData(QString::fromLatin1(kPaneSourceMime), controlName.toUtf8());
}

std::vector<std::string> paneDragPaths(const QMimeData& data) {
    std::vector<std::string> paths;
    const QByteArray raw = data.data(QString::fromLatin1(kPanePathsMime));
    qsizetype start = 0;
    for (qsizetype end = raw.indexOf('\0'); end >= 0; end = raw.indexOf('\0', start)) {
        paths.emplace_back(raw.constData() + start, static_cast<size_t>(end - start));
        start = end + 1;
    }
    return paths;
}

QString paneDragSource(const QMimeData& data) {
    return QString::fromUtf8(data.data(QString::fromLatin1(kPaneSourceMime)));
}

}  // namespace tarvelin
