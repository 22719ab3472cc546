#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarvelin {

// "oplst.lst": the list documents to open at start-up, one full path a line.
class AutoOpenListFile {
public:
    explicit AutoOpenListFile(const std::string& programFolder);

    static std::string pathIn(const std::string& programFolder);
    const std::string& path() const { return m_path; }

    // The entries, or nullopt when there is no file. Throws "ファイル %s は開けません" when it cannot be
    // read.
    std::optional<std::vector<std::string>> load() const;

    // Writes every entry followed by CR LF (an empty list gives a 0-byte file), in the encoding the file
    // already has, else the system's. Throws "ファイル %s を作成できません" when it cannot be written.
    void save(const std::vector<std::string>& entries) const;

    static constexpr size_t kMaxFileBytes = 16 * 1024 * 1024;

private:
    std::string m_path;
};

// Splits at CR LF, lone CR and lone LF; a NUL ends the text; a final line break adds no entry.
std::vector<std::string> splitListLines(std::string_view text);

}  // namespace tarvelin
