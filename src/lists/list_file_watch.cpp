#include "lists/list_file_watch.h"

#include <QFile>
#include <QFileSystemWatcher>

namespace tarvelin {

ListFileWatch::ListFileWatch(QObject* parent) : QObject(parent), m_watcher(new QFileSystemWatcher(this)) {
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, [this] {
        follow(m_path);  // a file replaced by a rename is dropped from the watch
        emit changed();
    });
}

void ListFileWatch::follow(const std::string& path) {
    if (const QStringList files = m_watcher->files(); !files.isEmpty()) m_watcher->removePaths(files);
    m_path = path;
    if (!path.empty() && path.front() == '/')
        m_watcher->addPath(QFile::decodeName(QByteArray::fromStdString(path)));
}

}  // namespace tarvelin
