#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "lists/list_document.h"
#include "platform/file_io.h"

namespace tarvelin {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// A list saved here as UTF-8 can hold a file name that is not UTF-8 (a CP932 name unpacked from a Windows
// archive); the file as a whole is then not valid UTF-8 and would be taken for CP932, turning that name and
// every Japanese name into other bytes. Such a file shows itself by another line that is valid UTF-8 and
// holds a character of three or more bytes, as Japanese in UTF-8 does; CP932 text hardly ever forms one whole
// such line.
bool isUtf8WithRawNames(std::string_view bytes) {
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = bytes.size();
        const std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        bool wide = false;
        for (char c : line)
            if ((static_cast<unsigned char>(c) & 0xE0) == 0xE0) wide = true;  // lead byte of 3 or 4 bytes
        if (wide && isValidUtf8(line)) return true;
    }
    return false;
}

// Splits at CR LF, lone CR and lone LF; a final line end adds no line. Stops after maxLines + 1 lines.
std::vector<std::string_view> splitLines(std::string_view text, size_t maxLines) {
    std::vector<std::string_view> lines;
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const auto find = [end](const char* from, char c) {
        const void* at = std::memchr(from, c, static_cast<size_t>(end - from));
        return at ? static_cast<const char*>(at) : end;
    };
    const char* nextCr = find(begin, '\r');
    const char* nextLf = find(begin, '\n');
    const char* start = begin;
    while (start < end && lines.size() <= maxLines) {
        if (nextCr < start) nextCr = find(start, '\r');
        if (nextLf < start) nextLf = find(start, '\n');
        const char* lineEnd = nextCr < nextLf ? nextCr : nextLf;
        lines.emplace_back(start, static_cast<size_t>(lineEnd - start));
        if (lineEnd == end) break;
        start = lineEnd + 1;
        if (*lineEnd == '\r' && start < end && *start == '\n') ++start;
    }
    return lines;
}

}  // namespace

UserError invalidLevel(size_t level, std::string_view text) {
    std::string message = "アイテム \"";
    message += text;
    message += "\" の階層 (";
    message += std::to_string(level);
    message += ") が不正です";
    return UserError(message);
}

UserError fileTooLarge(std::string_view path) {
    return UserError(formatMessage("ファイル %s は大きすぎて開けません", path));
}

DecodedText decodeListBytes(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    DecodedText decoded = decodeText(bytes);
    if (decoded.encoding == Encoding::Cp932 && isUtf8WithRawNames(bytes)) {
        if (bytes.starts_with(kBom)) bytes.remove_prefix(kBom.size());
        decoded.text.assign(bytes);
        decoded.encoding = Encoding::Utf8;
    }
    return decoded;
}

bool buildListTree(std::string_view text, ListTree& tree) {
    const std::vector<std::string_view> lines = splitLines(text, kMaxListNodes);
    if (lines.size() > kMaxListNodes) return false;
    tree.clear();
    tree.reserve(lines.size());
    // branch[k] is the node last placed at level k; the previous node is branch.back().
    std::vector<NodeId> branch;
    for (const std::string_view line : lines) {
        size_t level = 0;
        while (level < line.size() && (line[level] == '\t' || line[level] == ' ')) ++level;
        const std::string_view nodeText = line.substr(level);
        if (branch.empty()) {
            branch.push_back(
                tree.addChild(kNoNode, std::string(nodeText)));  // the first line, whatever its level
            continue;
        }
        if (level > branch.size()) throw invalidLevel(level, nodeText);
        const NodeId parent = level == 0 ? kNoNode : branch[level - 1];
        branch.resize(level);
        branch.push_back(tree.addChild(parent, std::string(nodeText)));
    }
    return true;
}

void readListDocument(ListDocument& document, const std::string& path) {
    const FileBytes file = readFileBytes(path, kMaxListFileBytes);
    if (file.status == ReadStatus::TooLarge) throw fileTooLarge(path);
    if (file.status != ReadStatus::Ok) throw cannotOpenFile(path);
    const DecodedText decoded = decodeListBytes(file.bytes);
    // The encoding is the document's as soon as its tree is, even when a bad level stops the reading.
    const Encoding previous = std::exchange(document.encoding, decoded.encoding);
    if (!buildListTree(decoded.text, document.tree)) {
        document.encoding = previous;
        throw fileTooLarge(path);
    }
}

}  // namespace tarvelin
