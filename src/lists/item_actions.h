#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <string_view>

#include "lists/node_kinds.h"
#include "platform/item_path.h"

namespace tarvelin {

// The folder an item shows in a file pane: a folder item's own path, a file item's path up to and including
// its last "/".
std::string itemFolder(std::string_view path, PathKind kind);

// An item that opens in a list window of its own rather than with the desktop's program: ".kxd" exactly.
inline bool isListDocument(std::string_view path) {
    return extensionOf(path) == ".kxd";
}

// Asks `probe` on a worker thread what `path` names and calls `then` with the answer on the thread of
// `receiver`, unless `receiver` is gone by then. A volume that never answers holds up only this question's
// thread, never the window.
void askPathKind(QObject* receiver, PathProbe probe, std::string path, std::function<void(PathKind)> then);

}  // namespace tarvelin
