#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvelin {

// The text of a settings (INI) file with the reading and writing rules of the Windows private-profile
// functions, which users of hand-edited files rely on:
// - lines are trimmed of white space; blank lines are ignored; "[name]" (up to the last "]") starts a
// section;
// - "key = value" has the spaces around both trimmed; a line without "=" is a key without a value (it reads
// as
//   missing), so comment lines never match a key anyone asks for;
// - section and key names compare without regard to ASCII case; only the first section of a name is searched
// and
//   the first matching key in it wins;
// - a new key goes after the last line of its section, a new section at the end of the file.
// Lines nobody writes keep their text exactly; every line is written with CR LF.
class ProfileDocument {
public:
    static ProfileDocument parse(std::string_view text);

    // The stored value as written after "=" (trimmed, quotes kept), or nullopt for a missing key.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    void setValue(std::string_view section, std::string_view key, std::string_view value);

    std::string serialize() const;

private:
    enum class Kind { Blank, Section, Key };
    struct Line {
        std::string text;  // as in the file, without its line end
        Kind kind = Kind::Blank;
        std::string name;  // section or key name
        std::optional<std::string> value;
    };
    static Line parseLine(std::string text);
    // Index of the first section line named `section`, or npos.
    size_t findSection(std::string_view section) const;
    // Index of the key line inside the section starting at sectionLine, or npos.
    size_t findKey(size_t sectionLine, std::string_view key) const;

    std::vector<Line> m_lines;
};

// Removes the white space the profile functions ignore around names and values.
std::string_view trimProfileSpace(std::string_view s);

}  // namespace tarvelin
