#pragma once

#include <string_view>

#include "lists/list_tree.h"
#include "platform/path_kind.h"

namespace tarvelin {

// Indexes into the main window's shared image list that list trees use.
namespace icons {
inline constexpr int kRoot = 0;
inline constexpr int kBinder = 1;  // a binder with children; any non-item in the simple assignment
inline constexpr int kFolder = 2;
inline constexpr int kFile = 3;  // simple assignment only
inline constexpr int kSelectedItem = 4;
inline constexpr int kSelectedBinder = 5;  // selected non-item with children
inline constexpr int kEmptyBinder = 6;     // also the selected non-item without children
inline constexpr int kOtherFile = 13;      // a file whose extension the table does not know
inline constexpr int kMissing = 22;
// Not an image: what a node shows while the disk has not answered what its text names (a slow or hung
// volume). Neither missing nor present.
inline constexpr int kNotYetKnown = -1;
}  // namespace icons

// An item is a node whose text exists as a file or a folder.
inline bool isItemText(std::string_view text) {
    return pathKind(text) != PathKind::Absent;
}
inline bool isItem(const ListTree& tree, NodeId node) {
    return isItemText(tree.text(node));
}

// Whether an absent text still reads as a path: it begins with "/" or "\", or exactly with "C:\" or "D:\"
// (lists made on Windows).
bool looksLikePath(std::string_view text);

enum class NodeKind { Root, FolderItem, FileItem, MissingItem, Binder };

NodeKind nodeKind(const ListTree& tree, NodeId node);

// The icon of a file from its extension; exact comparison, letter case included.
int extensionIcon(std::string_view path);

}  // namespace tarvelin
