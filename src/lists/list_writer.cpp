#include <algorithm>
#include <optional>
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

namespace {

// The file in CP932: the lines a CP932 file was read with keep their bytes, the others are encoded, a run of
// them at a time. nullopt when a text has no CP932 form; tooLarge (and nothing) when the bytes would pass the
// limit.
std::optional<std::string> cp932ListFile(const ListTree& tree, bool& tooLarge) {
    // A text is at most three times as long in UTF-8 as in CP932; past that the file cannot fit, and the
    // count stops before a tree deep enough for terabytes of tabs costs any memory.
    size_t utf8Size = 0;
    tooLarge = false;
    tree.visitTreeOrder([&](NodeId node, size_t level) {
        utf8Size += level + tree.text(node).size() + 2;
        tooLarge = utf8Size > 3 * kMaxListFileBytes;
        return !tooLarge;
    });
    if (tooLarge) return std::string();
    std::string out;
    out.reserve(std::min(utf8Size, kMaxListFileBytes));
    Cp932Encoder encoder;
    std::string pending;  // UTF-8 lines not encoded yet
    bool encodable = true;
    const auto flush = [&] {
        encodable = encoder.append(pending, out);
        pending.clear();
        tooLarge = out.size() > kMaxListFileBytes;
        return encodable && !tooLarge;
    };
    tree.visitTreeOrder([&](NodeId node, size_t level) {
        const std::string* source = tree.sourceBytes(node);
        std::string& line = source ? out : pending;
        if (source && !flush()) return false;
        line.append(level, '\t');
        line += source ? *source : tree.text(node);
        line += "\r\n";
        return pending.size() < (size_t{1} << 16) || flush();
    });
    if (encodable && !tooLarge) flush();
    if (!encodable) return std::nullopt;
    if (tooLarge) out.clear();
    return out;
}

}  // namespace

EncodedText listFileBytes(const ListDocument& document, bool& tooLarge) {
    const ListTree& tree = document.tree;
    std::optional<std::string> bytes;
    if (document.encoding == Encoding::Cp932) bytes = cp932ListFile(tree, tooLarge);
    if (bytes) return {std::move(*bytes), Encoding::Cp932};
    // UTF-8 by choice, or because a text has no CP932 form; the text is the bytes. A first text that begins
    // with a byte-order mark's character needs the mark before it, or reading takes it for the mark.
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    const bool bom = document.encoding == Encoding::Utf8 &&
                     (document.utf8Bom || (!tree.empty() && tree.text(tree.first()).starts_with(kBom)));
    std::string text = serializeListTree(tree, &tooLarge);
    tooLarge = tooLarge || (bom && text.size() + kBom.size() > kMaxListFileBytes);
    if (tooLarge) text.clear();
    if (bom && !tooLarge) text.insert(0, kBom);
    return {std::move(text), Encoding::Utf8};
}

void writeListDocument(ListDocument& document, const std::string& path) {
    bool tooLarge = false;
    const EncodedText file = listFileBytes(document, tooLarge);
    if (tooLarge || !replaceFileSafely(path, file.bytes)) throw cannotCreateFile(path);
    document.encoding = file.encoding;
    document.diskStamp = fileStamp(path);
}

}  // namespace tarvelin
