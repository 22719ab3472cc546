#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "lists/list_document.h"
#include "platform/file_io.h"

namespace tarvelin {
namespace {

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

// A CP932 line whose text would not encode back to its bytes keeps them: glibc reads both codes of a
// character in the NEC and IBM rows (leads 87, ED, EE, FA) as one and writes the other, and bytes that are
// not CP932 may form UTF-8 that CP932 cannot hold. The tree's order is the order of the lines.
void keepSourceBytes(std::string_view bytes, const std::vector<size_t>& keptRaw, ListTree& tree) {
    const std::vector<std::string_view> lines = splitLines(bytes, kMaxListNodes);
    auto raw = keptRaw.begin();
    size_t line = 0;
    Cp932Encoder encoder;
    std::string encoded;
    tree.visitTreeOrder([&](NodeId node, size_t) {
        if (line == lines.size()) return false;
        const std::string_view text = lines[line++];
        const auto start = static_cast<size_t>(text.data() - bytes.data());
        while (raw != keptRaw.end() && *raw < start) ++raw;
        const bool undecodable = raw != keptRaw.end() && *raw < start + text.size();
        const bool twoCodes = std::any_of(text.begin(), text.end(), [](char c) {
            const auto b = static_cast<unsigned char>(c);
            return b == 0x87 || b == 0xED || b == 0xEE || b == 0xFA;
        });
        if (!undecodable && !twoCodes) return true;
        const std::string_view source = text.substr(std::min(text.find_first_not_of("\t "), text.size()));
        encoded.clear();
        if (!encoder.append(tree.text(node), encoded) || encoded != source)
            tree.setSourceBytes(node, std::string(source));
        return true;
    });
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

DecodedText decodeListBytes(std::string_view bytes, std::vector<size_t>* keptRaw) {
    bytes = bytes.substr(0, bytes.find('\0'));
    DecodedText decoded = decodeText(bytes, keptRaw);
    if (decoded.encoding == Encoding::Cp932 && isUtf8WithRawNames(bytes)) {
        if (keptRaw) keptRaw->clear();
        decoded.utf8Bom = bytes.starts_with("\xEF\xBB\xBF");
        decoded.text.assign(bytes.substr(decoded.utf8Bom ? 3 : 0));
        decoded.encoding = Encoding::Utf8;
    }
    return decoded;
}

namespace {

// Places the lines; the one at `taken` gets an empty text, which the caller fills in.
bool placeLines(const std::vector<std::string_view>& lines, size_t taken, ListTree& tree, NodeId& takenNode) {
    if (lines.size() > kMaxListNodes) return false;
    tree.clear();
    tree.reserve(lines.size());
    // branch[k] is the node last placed at level k; the previous node is branch.back().
    std::vector<NodeId> branch;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        size_t level = 0;
        while (level < line.size() && (line[level] == '\t' || line[level] == ' ')) ++level;
        const std::string_view nodeText = line.substr(level);
        std::string copy = i == taken ? std::string() : std::string(nodeText);
        if (branch.empty()) {
            branch.push_back(tree.addLine(kNoNode, std::move(copy)));  // the first line, whatever its level
        } else {
            if (level > branch.size()) throw invalidLevel(level, nodeText);
            const NodeId parent = level == 0 ? kNoNode : branch[level - 1];
            branch.resize(level);
            branch.push_back(tree.addLine(parent, std::move(copy)));
        }
        if (i == taken) takenNode = branch.back();
    }
    return true;
}

}  // namespace

bool buildListTree(std::string_view text, ListTree& tree) {
    NodeId none = kNoNode;
    return placeLines(splitLines(text, kMaxListNodes), std::string_view::npos, tree, none);
}

bool buildListTreeTaking(std::string&& text, ListTree& tree) {
    const std::vector<std::string_view> lines = splitLines(text, kMaxListNodes);
    size_t taken = std::string_view::npos;
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].size() > text.size() / 2) taken = i;
    if (taken == std::string_view::npos) return buildListTree(std::string_view(text), tree);
    std::string_view takenText = lines[taken];
    takenText.remove_prefix(std::min(takenText.find_first_not_of("\t "), takenText.size()));
    NodeId takenNode = kNoNode;
    // Filled in also when a bad level after it ends the reading.
    const auto fill = [&] {
        if (takenNode == kNoNode) return;
        const auto start = static_cast<size_t>(takenText.data() - text.data());
        const size_t size = takenText.size();
        text.erase(0, start);
        text.resize(size);
        tree.setLine(takenNode, std::move(text));
    };
    bool placed;
    try {
        placed = placeLines(lines, taken, tree, takenNode);
    } catch (const UserError&) {
        fill();
        throw;
    }
    fill();
    return placed;
}

void readListDocument(ListDocument& document, const std::string& path) {
    FileBytes file = readFileBytes(path, kMaxListFileBytes);
    if (file.status == ReadStatus::TooLarge) throw fileTooLarge(path);
    if (file.status != ReadStatus::Ok) throw cannotOpenFile(path);
    document.diskStamp = file.stamp;
    readListBytes(document, std::move(file.bytes), path);
}

void readListBytes(ListDocument& document, std::string bytes, const std::string& path) {
    std::vector<size_t> keptRaw;
    // UTF-8 is the text as it stands, up to a NUL, and moves into it: a list may hold a text of megabytes.
    // CP932 is converted and keeps its bytes for the lines that need them.
    size_t end = bytes.size();
    const TextForm form = textFormToNul(bytes, end);
    if (form == TextForm::Other) end = std::min(bytes.find('\0'), bytes.size());
    bytes.resize(end);
    DecodedText decoded =
        form != TextForm::Other ? takeUtf8Text(std::move(bytes), form) : decodeListBytes(bytes, &keptRaw);
    // The encoding is the document's as soon as its tree is, even when a bad level stops the reading.
    const Encoding previous = std::exchange(document.encoding, decoded.encoding);
    const bool previousBom = std::exchange(document.utf8Bom, decoded.utf8Bom);
    const auto keepSources = [&] {
        if (decoded.encoding == Encoding::Cp932) keepSourceBytes(bytes, keptRaw, document.tree);
    };
    bool built = false;
    try {
        built = buildListTreeTaking(std::move(decoded.text), document.tree);
    } catch (const UserError&) {
        keepSources();  // the nodes before a bad level stay
        throw;
    }
    if (!built) {
        document.encoding = previous;
        document.utf8Bom = previousBom;
        throw fileTooLarge(path);
    }
    keepSources();
}

}  // namespace tarvelin
