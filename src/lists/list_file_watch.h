#pragma once

#include <QObject>
#include <string>

class QFileSystemWatcher;

namespace tarvelin {

// Follows a list's file on disk, so that the window learns when another program writes or replaces it.
// Replacing a file gives it a new inode, which the watch then follows too.
class ListFileWatch : public QObject {
    Q_OBJECT
public:
    explicit ListFileWatch(QObject* parent);

    // Empty, or a list that has no file: nothing is followed.
    void follow(const std::string& path);

signals:
    void changed();

private:
    QFileSystemWatcher* m_watcher;
    std::string m_path;
};

}  // namespace tarvelin
