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

}  // namespace tarvelin
