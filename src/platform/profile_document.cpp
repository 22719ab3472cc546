#include "platform/profile_document.h"

#include <algorithm>

namespace tarvelin {
namespace {

constexpr size_t npos = std::string::npos;

bool isProfileSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1A';
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

// A profile line cannot hold a line break: a value is cut before one.
std::string_view singleLine(std::string_view s) {
    return s.substr(0, s.find_first_of("\r\n"));
}

}  // namespace

std::string_view trimProfileSpace(std::string_view s) {
    while (!s.empty() && isProfileSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && isProfileSpace(s.back())) s.remove_suffix(1);
    return s;
}

ProfileDocument::Line ProfileDocument::parseLine(std::string text) {
    Line line;
    const std::string_view trimmed = trimProfileSpace(text);
    if (!trimmed.empty()) {
        const size_t close = trimmed.rfind(']');
        if (trimmed.front() == '[' && close != npos) {
            line.kind = Kind::Section;
            line.name.assign(trimmed.substr(1, close - 1));
        } else {
            line.kind = Kind::Key;
            const size_t eq = trimmed.find('=');
            if (eq == npos) {
                line.name.assign(trimmed);
            } else {
                line.name.assign(trimProfileSpace(trimmed.substr(0, eq)));
                line.value.emplace(trimProfileSpace(trimmed.substr(eq + 1)));
            }
        }
    }
    line.text = std::move(text);
    return line;
}

ProfileDocument ProfileDocument::parse(std::string_view text) {
    ProfileDocument doc;
    while (!text.empty()) {
        const size_t lf = text.find('\n');
        std::string_view raw = text.substr(0, lf);
        text.remove_prefix(lf == npos ? text.size() : lf + 1);
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        doc.m_lines.push_back(parseLine(std::string(raw)));
    }
    return doc;
}

size_t ProfileDocument::findSection(std::string_view section) const {
    section = trimProfileSpace(section);
    if (section.empty()) return npos;
    for (size_t i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].kind == Kind::Section && equalsIgnoringCase(m_lines[i].name, section)) return i;
    return npos;
}

size_t ProfileDocument::findKey(size_t sectionLine, std::string_view key) const {
    key = trimProfileSpace(key);
    for (size_t i = sectionLine + 1; i < m_lines.size() && m_lines[i].kind != Kind::Section; ++i)
        if (m_lines[i].kind == Kind::Key && equalsIgnoringCase(m_lines[i].name, key)) return i;
    return npos;
}

std::optional<std::string> ProfileDocument::value(std::string_view section, std::string_view key) const {
    const size_t s = findSection(section);
    if (s == npos) return std::nullopt;
    const size_t k = findKey(s, key);
    if (k == npos) return std::nullopt;
    return m_lines[k].value;
}

void ProfileDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    section = singleLine(trimProfileSpace(section));
    key = singleLine(trimProfileSpace(key));
    value = singleLine(value);
    const size_t s = findSection(section);
    if (s == npos) {
        m_lines.push_back(parseLine("[" + std::string(section) + "]"));
        m_lines.push_back(parseLine(std::string(key) + "=" + std::string(value)));
        return;
    }
    if (const size_t k = findKey(s, key); k != npos) {
        m_lines[k] = parseLine(m_lines[k].name + "=" + std::string(value));
        return;
    }
    size_t last = s;  // the section's last non-blank line
    for (size_t i = s + 1; i < m_lines.size() && m_lines[i].kind != Kind::Section; ++i)
        if (m_lines[i].kind != Kind::Blank) last = i;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(last + 1),
                   parseLine(std::string(key) + "=" + std::string(value)));
}

std::string ProfileDocument::serialize() const {
    std::string out;
    size_t size = 0;
    for (const Line& line : m_lines) size += line.text.size() + 2;
    out.reserve(size);
    for (const Line& line : m_lines) {
        out += line.text;
        out += "\r\n";
    }
    return out;
}

}  // namespace tarvelin
