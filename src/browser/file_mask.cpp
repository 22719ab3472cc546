#include "browser/file_mask.h"

#include <algorithm>

#include "browser/name_case.h"

namespace tarvelin {

namespace {

bool isWildcard(char c) {
    return c == '*' || c == '?';
}

}  // namespace

FilePattern::FilePattern(std::string_view pattern) : m_text(pattern) {
    const std::string folded = foldCase(pattern);
    if (folded == "*" || folded == "*.*") {
        m_kind = Kind::Everything;
        return;
    }
    // A literal tail keeps its meaning exactly unless it ends in "." (which also matches the end of the
    // name).
    const bool plainTail = !folded.empty() && folded.back() != '.';
    if (plainTail && std::none_of(folded.begin(), folded.end(), isWildcard)) {
        m_kind = Kind::Exact;
        m_folded = folded;
        return;
    }
    if (plainTail && folded.front() == '*' && std::none_of(folded.begin() + 1, folded.end(), isWildcard)) {
        // "*.txt": the tail holds the name's last dot, so the star never has to take it.
        m_kind = Kind::Suffix;
        m_folded = folded.substr(1);
        return;
    }
    m_kind = Kind::General;
    for (size_t pos = 0; pos < folded.size();) {
        const char c = folded[pos];
        const char next = pos + 1 < folded.size() ? folded[pos + 1] : '\0';
        if (c == '*') {
            m_steps.push_back({next == '.' ? Token::DosStar : Token::Star, {}});
            ++pos;
        } else if (c == '?') {
            m_steps.push_back({Token::DosQm, {}});
            ++pos;
        } else if (c == '.' && (next == '\0' || isWildcard(next))) {
            m_steps.push_back({Token::DosDot, {}});
            ++pos;
        } else {
            const size_t length = characterLength(folded, pos);
            m_steps.push_back({Token::Literal, folded.substr(pos, length)});
            pos += length;
        }
    }
}

bool FilePattern::matches(std::string_view foldedName) const {
    switch (m_kind) {
        case Kind::Everything:
            return true;
        case Kind::Exact:
            return foldedName == m_folded;
        case Kind::Suffix:
            return foldedName.ends_with(m_folded);
        case Kind::General:
            break;
    }
    return matchesGeneral(foldedName);
}

// Runs the pattern as a set of states over the name's characters, so no input can make it backtrack.
bool FilePattern::matchesGeneral(std::string_view name) const {
    const size_t stepCount = m_steps.size();
    const size_t lastDot = name.rfind('.');
    std::vector<char> current(stepCount + 1, 0);
    std::vector<char> next(stepCount + 1, 0);
    current[0] = 1;

    // Adds the states reachable without taking a character; `atDot`/`atEnd` describe what comes next in the
    // name.
    const auto close = [&](std::vector<char>& states, bool atDot, bool atEnd) {
        for (size_t i = 0; i < stepCount; ++i) {
            if (!states[i]) continue;
            switch (m_steps[i].token) {
                case Token::Star:
                case Token::DosStar:
                    states[i + 1] = 1;
                    break;
                case Token::DosQm:
                    if (atDot || atEnd) states[i + 1] = 1;
                    break;
                case Token::DosDot:
                    if (atEnd) states[i + 1] = 1;
                    break;
                case Token::Literal:
                    break;
            }
        }
    };

    for (size_t pos = 0; pos < name.size();) {
        const size_t length = characterLength(name, pos);
        const std::string_view character = name.substr(pos, length);
        const bool isDot = character == ".";
        close(current, isDot, false);
        std::fill(next.begin(), next.end(), 0);
        bool any = false;
        for (size_t i = 0; i < stepCount; ++i) {
            if (!current[i]) continue;
            const Step& step = m_steps[i];
            size_t target = stepCount + 1;  // none
            switch (step.token) {
                case Token::Literal:
                    if (step.literal == character) target = i + 1;
                    break;
                case Token::Star:
                    target = i;
                    break;
                case Token::DosStar:
                    if (!isDot || pos != lastDot) target = i;
                    break;
                case Token::DosQm:
                    if (!isDot) target = i + 1;
                    break;
                case Token::DosDot:
                    if (isDot) target = i + 1;
                    break;
            }
            if (target <= stepCount) {
                next[target] = 1;
                any = true;
            }
        }
        if (!any) return false;
        current.swap(next);
        pos += length;
    }
    close(current, false, true);
    return current[stepCount] != 0;
}

FileMask::FileMask(std::string_view mask) {
    size_t start = 0;
    while (start <= mask.size()) {
        size_t end = mask.find(';', start);
        if (end == std::string_view::npos) end = mask.size();
        if (end > start) m_patterns.emplace_back(mask.substr(start, end - start));
        start = end + 1;
    }
}

int FileMask::matchCount(std::string_view foldedName) const {
    int count = 0;
    for (const FilePattern& pattern : m_patterns)
        if (pattern.matches(foldedName)) ++count;
    return count;
}

}  // namespace tarvelin
