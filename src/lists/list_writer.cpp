#include <string>

#include "lists/list_document.h"
#include "platform/file_io.h"

namespace tarvelin {

std::string serializeListTree(const ListTree& tree, bool* tooLarge) {
    // The size first: one allocation, and a tree whose file could not be read back is refused before any
    // memory is spent on it (a chain a million deep would need half a terabyte of tabs).
    size_t size = 0;
    bool fits = true;
    tree.visitTreeOrder([&](NodeId node, size_t level) {
        size += level + tree.text(node).size() + 2;
        fits = size <= kMaxListFileBytes;
        return fits;
    });
    if (tooLarge) *tooLarge = !fits;
    if (!fits) return {};
    std::string out;
    out.reserve(size);
    tree.visitTreeOrder([&](NodeId node, size_t level) {
        out.append(level, '\t');
        out += tree.text(node);
        out += "\r\n";
        return true;
    });
    return out;
}

void writeListDocument(ListDocument& document, const std::string& path) {
    bool tooLarge = false;
    std::string text = serializeListTree(document.tree, &tooLarge);
    if (tooLarge) throw cannotCreateFile(path);
    EncodedText out;
    if (document.encoding == Encoding::Utf8)
        out = {std::move(text), Encoding::Utf8};  // the text is the bytes; no copy
    else
        out = encodeText(text, document.encoding);
    if (!replaceFileAtomically(path, out.bytes)) throw cannotCreateFile(path);
    document.encoding = out.encoding;
}

}  // namespace tarvelin
