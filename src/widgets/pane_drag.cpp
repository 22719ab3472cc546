#include "widgets/pane_drag.h"

#include <QMimeData>

#include "platform/desktop_shell.h"

namespace tarvelin {

QMimeData* makePaneDragData(const std::vector<std::string>& paths, PathKind kind) {
    QByteArray uris;
    QByteArray raw;
    for (const std::string& path : paths) {
        uris += fileUrlOf(path) + "\r\n";
        raw += kind == PathKind::Folder ? 'D' : 'F';
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

std::vector<PaneDragEntry> paneDragEntries(const QMimeData& data) {
    std::vector<PaneDragEntry> entries;
    const QByteArray raw = data.data(QString::fromLatin1(kPanePathsMime));
    if (!raw.isEmpty() && !raw.endsWith('\0')) return {};
    qsizetype start = 0;
    for (qsizetype end = raw.indexOf('\0'); end >= 0; end = raw.indexOf('\0', start)) {
        const char kind = end > start ? raw[start] : '\0';
        if (kind != 'D' && kind != 'F') return {};
        entries.push_back({std::string(raw.constData() + start + 1, static_cast<size_t>(end - start - 1)),
                           kind == 'D' ? PathKind::Folder : PathKind::File});
        start = end + 1;
    }
    return entries;
}

std::vector<std::string> paneDragPaths(const QMimeData& data) {
    std::vector<std::string> paths;
    for (PaneDragEntry& entry : paneDragEntries(data)) paths.push_back(std::move(entry.path));
    return paths;
}

QString paneDragSource(const QMimeData& data) {
    return QString::fromUtf8(data.data(QString::fromLatin1(kPaneSourceMime)));
}

}  // namespace tarvelin
