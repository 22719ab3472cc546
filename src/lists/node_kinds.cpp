#include "lists/node_kinds.h"
#include "platform/item_path.h"

#include <array>
#include <utility>

namespace tarvelin {

bool looksLikePath(std::string_view text) {
    return text.starts_with('/') || text.starts_with('\\') || text.starts_with("C:\\") ||
           text.starts_with("D:\\");
}

NodeKind nodeKind(const ListTree& tree, NodeId node) {
    if (node == tree.first()) return NodeKind::Root;
    const std::string& text = tree.text(node);
    switch (pathKind(text)) {
        case PathKind::Folder:
            return NodeKind::FolderItem;
        case PathKind::File:
            return NodeKind::FileItem;
        case PathKind::Absent:
            break;
    }
    return looksLikePath(text) ? NodeKind::MissingItem : NodeKind::Binder;
}

int extensionIcon(std::string_view path) {
    static constexpr std::array<std::pair<std::string_view, int>, 12> kTable{{
        {".xls", 7},
        {".123", 8},
        {".bmp", 9},
        {".doc", 10},
        {".jwc", 11},
        {".exe", 12},
        {".gif", 14},
        {".hoc", 15},
        {".jpg", 16},
        {".jww", 17},
        {".jtd", 18},
        {".txt", 19},
    }};
    const std::string_view extension = extensionOf(path);
    for (const auto& [known, icon] : kTable)
        if (extension == known) return icon;
    return icons::kOtherFile;
}

}  // namespace tarvelin
