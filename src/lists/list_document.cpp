#include "lists/list_document.h"

#include "lists/node_kinds.h"

namespace tarvelin {

ListDocument newListDocument() {
    ListDocument document;
    const NodeId root = document.tree.addChild(kNoNode, std::string(kUntitled));
    document.tree.setIcon(root, icons::kRoot);
    document.tree.setSelectedIcon(root, icons::kSelectedItem);
    return document;
}

std::string proposedListFileName(std::string_view title) {
    // Both separators: lists made on Windows hold "\\" paths.
    while (!title.empty() && (title.back() == '/' || title.back() == '\\')) title.remove_suffix(1);
    const size_t separator = title.find_last_of("/\\");
    if (separator != std::string_view::npos) title.remove_prefix(separator + 1);
    if (title.empty()) return {};
    std::string name(title);
    if (!name.ends_with(".kxd")) name += ".kxd";
    return name;
}

}  // namespace tarvelin
