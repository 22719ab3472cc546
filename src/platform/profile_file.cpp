#include "platform/profile_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/file_io.h"
#include "platform/profile_document.h"

namespace tarvelin {
namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string_view unquoted(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

// The first `count` UTF-8 characters of s.
std::string_view firstCharacters(std::string_view s, size_t count) {
    size_t i = 0;
    for (size_t n = 0; i < s.size() && n < count; ++n) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
    }
    return s.substr(0, i);
}

// An exclusive advisory lock on the settings file for one read-modify-write, so that two running copies never
// both write from the same old text and drop each other's keys. Writers replace the file by a rename, so the
// lock belongs to the file found at the path: when another writer replaced it while we waited, the lock is
// taken again on the new one. Without a lock (no file can be made there) the write goes on and reports its
// own failure.
class WriteLock {
public:
    explicit WriteLock(const std::string& path) {
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            const int fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
            if (fd < 0) return;
            int locked;
            do locked = ::flock(fd, LOCK_EX);
            while (locked != 0 && errno == EINTR);
            struct stat held, current;
            if (locked == 0 && ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &current) == 0 &&
                held.st_dev == current.st_dev && held.st_ino == current.st_ino) {
                m_fd = fd;
                return;
            }
            ::close(fd);
            if (locked != 0) return;
        }
    }
    ~WriteLock() {
        if (m_fd >= 0) ::close(m_fd);
    }
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

private:
    static constexpr int kAttempts = 1000;
    int m_fd = -1;
};

}  // namespace

std::optional<int32_t> parseProfileInteger(std::string_view text) {
    std::string_view s = text;
    bool hex = false;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        s.remove_prefix(2);
        hex = true;
    }
    bool negative = false;
    if (!hex && !s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (!hex && !s.empty() && s.front() == '$') {
        s.remove_prefix(1);
        hex = true;
    }
    if (s.empty()) return std::nullopt;
    uint64_t value = 0;
    for (char c : s) {
        const int digit = hex ? hexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
        if (digit < 0) return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    if (hex) {
        const auto pattern = static_cast<uint32_t>(value);
        return static_cast<int32_t>(negative ? 0u - pattern : pattern);
    }
    const int64_t signedValue = negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
    if (signedValue < std::numeric_limits<int32_t>::min() ||
        signedValue > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(signedValue);
}

ProfileFile::ProfileFile(std::string path) : m_path(std::move(path)) {}

std::optional<std::string> ProfileFile::storedValue(std::string_view section, std::string_view key) const {
    const FileBytes file = readFileBytes(m_path, kMaxFileBytes);
    if (file.status != ReadStatus::Ok) return std::nullopt;
    return ProfileDocument::parse(decodeText(file.bytes).text).value(section, key);
}

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    const std::optional<std::string> stored = storedValue(section, key);
    const std::string_view value = stored ? unquoted(*stored) : defaultValue;
    return std::string(firstCharacters(value, kMaxValueCharacters));
}

int32_t ProfileFile::readInteger(std::string_view section, std::string_view key, int32_t defaultValue) const {
    return parseProfileInteger(readString(section, key, "")).value_or(defaultValue);
}

bool ProfileFile::readBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool ProfileFile::tooLargeToRead() const {
    struct stat st;
    return ::stat(m_path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           static_cast<unsigned long long>(st.st_size) > kMaxFileBytes;
}

void ProfileFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    const WriteLock lock(m_path);
    const FileBytes file = readFileBytes(m_path, kMaxFileBytes);
    // A file that exists but cannot be read is never replaced: that would lose what it holds.
    if (file.status == ReadStatus::TooLarge) throw tarvelin::tooLargeToRead(m_path);
    if (file.status != ReadStatus::Ok && file.status != ReadStatus::Missing) throw cannotWriteTo(m_path);
    DecodedText decoded;
    if (file.status == ReadStatus::Ok)
        decoded = decodeText(file.bytes);
    else
        decoded.encoding = systemEncoding();
    ProfileDocument doc = ProfileDocument::parse(decoded.text);
    doc.setValue(section, key, value);
    const EncodedText out = encodeText(doc.serialize(), decoded.encoding, decoded.utf8Bom);
    // A file that could not be read back is not written.
    if (out.bytes.size() > kMaxFileBytes || !replaceFileSafely(m_path, out.bytes))
        throw cannotWriteTo(m_path);
}

void ProfileFile::writeInteger(std::string_view section, std::string_view key, int32_t value) {
    writeString(section, key, std::to_string(value));
}

void ProfileFile::writeBool(std::string_view section, std::string_view key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

}  // namespace tarvelin
