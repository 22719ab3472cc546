#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvelin {

// Reads an integer as the settings file stores it: "0x"/"0X" followed by hexadecimal (only when the text is
// longer than two characters), "$" followed by hexadecimal (after an optional sign), or signed decimal.
// Hexadecimal takes up to 32 bits as a bit pattern; decimal must fit a signed 32-bit integer. Anything else
// is nullopt.
std::optional<int32_t> parseProfileInteger(std::string_view text);

// A settings file, read and written by section and key as the Windows private-profile functions do. Every
// call reads the file afresh, so another program's changes are seen; every write replaces the file atomically
// and is on disk when it returns, so closing needs no flush. The file keeps the encoding it was found in (new
// files take the system's), and a failed write throws "%s に書き込めません" with the full path.
class ProfileFile {
public:
    explicit ProfileFile(std::string path);

    const std::string& path() const { return m_path; }

    // At most 2047 characters of a value are seen; matching quotes around a value are removed.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    int32_t readInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
    bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // A file past kMaxFileBytes reads as if empty and is never written: "%s は大きすぎて読めません".
    bool tooLargeToRead() const;

    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, int32_t value);
    void writeBool(std::string_view section, std::string_view key, bool value);

    static constexpr size_t kMaxValueCharacters = 2047;
    static constexpr size_t kMaxFileBytes = 16 * 1024 * 1024;

private:
    std::optional<std::string> storedValue(std::string_view section, std::string_view key) const;

    std::string m_path;
};

}  // namespace tarvelin
