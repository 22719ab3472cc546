#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lists/list_tree.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/file_io.h"

namespace tarvelin {

inline constexpr std::string_view kUntitled = "Untitled";

// A list document as its window owns it: the tree, the file it belongs to ("Untitled" until it is first
// saved), whether it changed since, and the encoding its file is in.
struct ListDocument {
    ListTree tree;
    std::string fileName{kUntitled};
    bool modified = false;
    Encoding encoding = systemEncoding();
    bool utf8Bom = false;  // a UTF-8 file that began with a byte-order mark keeps it
    // The file as this window last read or wrote it; none for a list that has no file yet.
    std::optional<FileStamp> diskStamp;

    // A window left by a failed read has no name at all: it saves through Save as, like a new list.
    bool isUntitled() const { return fileName == kUntitled || fileName.empty(); }
};

// The file name Save as proposes for a list whose title (the topmost visible node) is `title`: only its last
// part, so that an item's path never proposes that document itself, and always ending in ".kxd". Empty when
// the title has no name part.
std::string proposedListFileName(std::string_view title);

// A new list: one root "Untitled" with the root icon and the item arrow as its selected icon.
ListDocument newListDocument();

// No list of ours comes near these; a larger file is refused before it takes the memory of its tree (a file
// of nothing but line ends would otherwise cost 64 bytes a byte).
inline constexpr size_t kMaxListFileBytes = size_t{256} << 20;
inline constexpr size_t kMaxListNodes = 4'000'000;

// Empties the tree and rebuilds it from the file; the document remembers the file's encoding. Every node gets
// icons 0 and 0 and is collapsed. Throws "ファイル %s は開けません" with the document untouched when the file
// cannot be read ("ファイル %s は大きすぎて開けません" when it is too large), and the level error with the
// nodes before the bad line kept. The file name is not changed.
void readListDocument(ListDocument& document, const std::string& path);

// Writes the tree in the document's encoding (UTF-8 when a text has no CP932 form), replacing the file at
// once. Throws "ファイル %s を作成できません" with nothing written when the file cannot be created. The file
// name is not changed.
void writeListDocument(ListDocument& document, const std::string& path);

// readListDocument for bytes already read; path names the file in errors.
void readListBytes(ListDocument& document, std::string bytes, const std::string& path);

// The bytes writeListDocument writes and the encoding they are in: the tree in the document's encoding, lines
// nobody edited since a CP932 file was read with the bytes they were read with, UTF-8 when a text has no
// CP932 form. tooLarge (and no bytes) when they would pass kMaxListFileBytes.
EncodedText listFileBytes(const ListDocument& document, bool& tooLarge);

// The two halves of reading, for callers that have the bytes already.
// The file's text as UTF-8 (raw bytes kept), up to a NUL byte, and the encoding it is in; keptRaw as for
// cp932ToUtf8.
DecodedText decodeListBytes(std::string_view bytes, std::vector<size_t>* keptRaw = nullptr);
// Empties the tree and places one node a line. Throws the level error, keeping the nodes placed before it.
// Returns false, leaving the tree alone, when the text has more than kMaxListNodes lines.
[[nodiscard]] bool buildListTree(std::string_view text, ListTree& tree);
// The same for a text no longer needed: a line holding most of it (a node text of megabytes) takes over its
// buffer instead of a copy.
[[nodiscard]] bool buildListTreeTaking(std::string&& text, ListTree& tree);

// The file's text in UTF-8: a line a node, tabs for the level, CR LF after each; nothing for an empty tree.
// Empty when the text would be longer than kMaxListFileBytes (tooLarge is then set).
std::string serializeListTree(const ListTree& tree, bool* tooLarge = nullptr);

// "アイテム "<text>" の階層 (<level>) が不正です"
UserError invalidLevel(size_t level, std::string_view text);
// "ファイル %s は大きすぎて開けません"
UserError fileTooLarge(std::string_view path);

}  // namespace tarvelin
