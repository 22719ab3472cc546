#include "lists/item_actions.h"

#include <QCoreApplication>
#include <QPointer>
#include <thread>

namespace tarvelin {

std::string itemFolder(std::string_view path, PathKind kind) {
    if (kind == PathKind::Folder) return std::string(path);
    return std::string(folderPart(path));
}

void askPathKind(QObject* receiver, PathProbe probe, std::string path, std::function<void(PathKind)> then) {
    // Detached: a stat that hangs on a dead mount must neither block the window nor hold up the program's
    // end. The answer travels through the application object, which outlives every window; the receiver is
    // looked at only on its own thread.
    QPointer<QObject> guard(receiver);
    std::thread([guard, probe = std::move(probe), path = std::move(path), then = std::move(then)]() mutable {
        const PathKind kind = probe(path);
        QCoreApplication* app = QCoreApplication::instance();
        if (!app) return;
        QMetaObject::invokeMethod(
            app,
            [guard, kind, then = std::move(then)] {
                if (guard) then(kind);
            },
            Qt::QueuedConnection);
    }).detach();
}

}  // namespace tarvelin
