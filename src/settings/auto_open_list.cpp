#include "settings/auto_open_list.h"

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/file_io.h"

namespace tarvelin {

std::vector<std::string> splitListLines(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::string AutoOpenListFile::pathIn(const std::string& programFolder) {
    return programFolder + "oplst.lst";
}

AutoOpenListFile::AutoOpenListFile(const std::string& programFolder) : m_path(pathIn(programFolder)) {}

std::optional<std::vector<std::string>> AutoOpenListFile::load() const {
    const FileBytes file = readFileBytes(m_path, kMaxFileBytes);
    if (file.status == ReadStatus::Missing) return std::nullopt;
    if (file.status != ReadStatus::Ok) throw cannotOpenFile(m_path);
    return splitListLines(decodeText(file.bytes).text);
}

void AutoOpenListFile::save(const std::vector<std::string>& entries) const {
    Encoding encoding = systemEncoding();
    bool bom = false;
    if (const FileBytes old = readFileBytes(m_path, kMaxFileBytes);
        old.status == ReadStatus::Ok && !old.bytes.empty()) {
        const DecodedText decoded = decodeText(old.bytes);
        encoding = decoded.encoding;
        bom = decoded.utf8Bom;
    }
    std::string text;
    for (const std::string& entry : entries) {
        text += entry;
        text += "\r\n";
    }
    const EncodedText out = encodeText(text, encoding, bom && !text.empty());
    // A file that could not be read back is not written.
    if (out.bytes.size() > kMaxFileBytes || !replaceFileSafely(m_path, out.bytes))
        throw cannotCreateFile(m_path);
}

}  // namespace tarvelin
