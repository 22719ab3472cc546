#include "lists/node_kinds.h"
#include "platform/item_path.h"

#include <sys/stat.h>

#include <array>
#include <climits>
#include <cstring>
#include <utility>

namespace tarvelin {

PathKind pathKind(std::string_view text) {
    // The kernel refuses a path of PATH_MAX bytes or more, so a fixed buffer holds every text it could find.
    char path[PATH_MAX];
    if (text.size() >= sizeof path || text.find('\0') != std::string_view::npos) return PathKind::Absent;
    std::memcpy(path, text.data(), text.size());
    path[text.size()] = '\0';
    struct stat st;
    if (::stat(path, &st) != 0) return PathKind::Absent;
    return S_ISDIR(st.st_mode) ? PathKind::Folder : PathKind::File;
}

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
