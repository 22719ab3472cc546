#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvelin {

// One file-name pattern with the Windows wildcard rules: "*" is any run of characters, "?" one character
// (none when it stands before a "." or at the end of the name), a "." before a wildcard or at the end of the
// pattern also matches the end of a name, and a "*" before a "." never takes the name's last ".". So "*.*"
// matches every name, "*." the names without a dot and "a?.txt" also "a.txt". Letters match without regard to
// case.
class FilePattern {
public:
    explicit FilePattern(std::string_view pattern);

    // `foldedName` is the name passed through foldCase().
    bool matches(std::string_view foldedName) const;

    const std::string& text() const { return m_text; }

private:
    enum class Kind { Everything, Exact, Suffix, General };
    enum class Token : unsigned char { Literal, Star, DosStar, DosQm, DosDot };
    struct Step {
        Token token;
        std::string literal;  // one character, folded
    };

    bool matchesGeneral(std::string_view name) const;

    std::string m_text;    // as written
    std::string m_folded;  // Exact: the whole name; Suffix: the tail after the leading "*"
    Kind m_kind = Kind::General;
    std::vector<Step> m_steps;
};

// A file list's mask: patterns separated by ";", in the order written. Empty patterns (";;", a trailing ";")
// are dropped, since they can match no name.
class FileMask {
public:
    explicit FileMask(std::string_view mask);

    const std::vector<FilePattern>& patterns() const { return m_patterns; }

    // How many patterns the name matches: a file matching two patterns is listed twice.
    int matchCount(std::string_view foldedName) const;

private:
    std::vector<FilePattern> m_patterns;
};

}  // namespace tarvelin
