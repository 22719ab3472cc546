// Feeds arbitrary bytes to the list reader: decoding, line splitting and level placement must never crash,
// and whatever reads writes back to text that reads to the same tree.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "lists/list_document.h"

namespace {

// The texts of the tree in order, each after its level.
std::string outline(const tarvelin::ListTree& tree) {
    std::string out;
    tree.visitTreeOrder([&](tarvelin::NodeId node, size_t level) {
        out += std::to_string(level) + ' ' + tree.text(node) + '\n';
        return true;
    });
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tarvelin;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const DecodedText decoded = decodeListBytes(bytes);
    // UTF-8 is taken as it stands, raw bytes and all.
    if (decoded.encoding == Encoding::Utf8 && !decoded.utf8Bom && !bytes.starts_with("\xEF\xBB\xBF") &&
        decoded.text != bytes.substr(0, bytes.find('\0')))
        std::abort();
    ListTree tree;
    try {
        if (!buildListTree(decoded.text, tree)) std::abort();  // inputs are far below the line limit
    } catch (const UserError&) {
        return 0;  // a level error keeps the nodes before it, which the destructor must cope with
    }
    // Reading strips every leading blank from a text, so what it built writes out and reads back unchanged.
    const std::string written = serializeListTree(tree);
    ListTree again;
    try {
        if (!buildListTree(written, again)) std::abort();
    } catch (const UserError&) {
        std::abort();
    }
    if (serializeListTree(again) != written) std::abort();

    // The file as a document writes it, in its own encoding with the bytes of every line kept, reads back to
    // the same texts and writes the same bytes again.
    ListDocument document;
    readListBytes(document, std::string(bytes), "fuzz");
    // Reading a file takes its text over (a long line keeps the buffer): the same tree as from a copy.
    if (outline(document.tree) != outline(tree)) std::abort();
    bool tooLarge = false;
    const EncodedText file = listFileBytes(document, tooLarge);
    if (tooLarge) std::abort();
    ListDocument reread;
    readListBytes(reread, file.bytes, "fuzz");
    if (outline(reread.tree) != outline(document.tree)) std::abort();
    if (listFileBytes(reread, tooLarge).bytes != file.bytes) std::abort();
    return 0;
}
