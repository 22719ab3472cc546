#include "lists/rtf_reader.h"

#include <QColor>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "lists/rtf_codepage.h"
#include "lists/rtf_tokenizer.h"
#include "lists/rtf_words.h"
#include "platform/codepage.h"

namespace tarvelin {
namespace {

using Word = RtfWord;

enum class Destination : std::uint8_t { Body, FontTable, ColourTable, Skip };

struct CharState {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int font = -1;  // -1: the default font (\deff)
    int halfPoints = 24;
    int colour = 0;
    bool operator==(const CharState&) const = default;
};

// Word processors give double-byte text (\dbch) fonts, sizes and styles of its own with \af, \afs, \ab and
// \ai; those words apply to the class of text \loch, \hich or \dbch chose last.
enum class TextClass : std::uint8_t { None, Latin, DoubleByte, RightToLeft };

struct DoubleByteChars {
    int font = -2;  // -2: not given
    int halfPoints = 0;
    std::int8_t bold = -1;
    std::int8_t italic = -1;
};

struct Group {
    CharState chars;
    DoubleByteChars doubleByte;
    TextClass assocClass = TextClass::None;
    bool doubleByteText = false;
    Destination destination = Destination::Body;
    int unicodeSkip = 1;

    // The formatting the group's text takes.
    CharState effective() const {
        if (!doubleByteText) return chars;
        CharState e = chars;
        if (doubleByte.font != -2) e.font = doubleByte.font;
        if (doubleByte.halfPoints > 0) e.halfPoints = doubleByte.halfPoints;
        if (doubleByte.bold >= 0) e.bold = doubleByte.bold;
        if (doubleByte.italic >= 0) e.italic = doubleByte.italic;
        return e;
    }
};

struct Font {
    int charset = 1;
    int codePage = 0;  // from \cpg; 0 when the charset decides
    QString name;
    bool named = false;  // the ";" after the name has been read
};

constexpr int kMinHalfPoints = 2;
constexpr int kMaxHalfPoints = 3276;  // 1638 points, the largest size rich-edit controls take
constexpr int kMaxUnicodeSkip = 255;

class Reader {
public:
    explicit Reader(QTextDocument& document) : m_cursor(&document) {}

    void read(std::string_view bytes);

private:
    Group& top() { return m_groups.back(); }
    bool inOverflow() const { return m_overflow > 0; }

    void groupStart();
    bool groupEnd();  // false when the outer group closed
    void word(const RtfToken& token);
    void symbol(unsigned char c);
    void bytes(std::string_view data);
    void appendBytes(QString* target, int codePage, std::string_view data);
    void unit(char16_t c);
    void paragraph();
    void breakParagraph();
    bool runEndsInBreak() const { return !m_run.isEmpty() && m_runBreak == m_run.size() - 1; }

    int codePageOf(const CharState& chars);
    Font* fontOf(int number);
    QTextCharFormat formatOf(const CharState& chars);

    // Text waiting to be decoded, and the run of text waiting to be inserted.
    void flushBytes();
    void flushRun();
    void beginBodyText();
    QString* textTarget();

    QTextCursor m_cursor;
    RtfTokenizer* m_tokenizer = nullptr;
    CodePageConverter m_converter;
    std::vector<Group> m_groups;
    size_t m_overflow = 0;
    bool m_starPending = false;
    int m_skipCount = 0;  // fallback characters still to skip after \u

    int m_documentCodePage = kCodePageWestern;
    int m_defaultFont = 0;
    std::unordered_map<int, Font> m_fonts;  // by number, up to kMaxRtfFonts of them
    int m_tableFont = -1;                   // the font whose entry is being read
    std::vector<std::optional<QColor>> m_colours;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colourGiven = false;

    std::string m_pendingBytes;
    int m_pendingCodePage = 0;
    QString* m_pendingTarget = nullptr;

    QString m_run;
    qsizetype m_runBreak = -1;  // where the run holds the last paragraph break it took along
    CharState m_runChars;
    bool m_pendingBreak = false;
    bool m_paragraphEmpty = true;
    std::optional<CharState> m_cachedChars;
    QTextCharFormat m_cachedFormat;
    QString m_unusedName;  // where a name goes that belongs to no font
};

void Reader::read(std::string_view input) {
    RtfTokenizer tokenizer(input);
    m_tokenizer = &tokenizer;
    m_cursor.beginEditBlock();
    for (;;) {
        const RtfToken token = tokenizer.next();
        if (token.kind == RtfTokenKind::End) break;
        if (token.kind == RtfTokenKind::GroupStart) {
            m_skipCount = 0;
            groupStart();
            continue;
        }
        if (token.kind == RtfTokenKind::GroupEnd) {
            m_skipCount = 0;
            if (!groupEnd()) break;
            continue;
        }
        if (m_groups.empty()) continue;  // nothing before the outer group opens
        if (m_skipCount > 0) {
            if (token.kind == RtfTokenKind::Text) {
                const size_t skip = std::min(token.text.size(), static_cast<size_t>(m_skipCount));
                m_skipCount -= static_cast<int>(skip);
                if (skip < token.text.size()) bytes(token.text.substr(skip));
                continue;
            }
            --m_skipCount;
            if (token.kind == RtfTokenKind::Word && token.text == "bin")
                tokenizer.takeBinary(token.param > 0 ? static_cast<std::uint64_t>(token.param) : 0);
            continue;
        }
        switch (token.kind) {
            case RtfTokenKind::Word:
                word(token);
                break;
            case RtfTokenKind::Symbol:
                symbol(token.byte);
                break;
            case RtfTokenKind::Hex: {
                const char c = static_cast<char>(token.byte);
                bytes(std::string_view(&c, 1));
                break;
            }
            case RtfTokenKind::Text:
                bytes(token.text);
                break;
            default:
                break;
        }
    }
    flushRun();
    m_cursor.endEditBlock();
}

void Reader::groupStart() {
    if (m_groups.size() >= kMaxRtfDepth || inOverflow()) {
        ++m_overflow;
        return;
    }
    flushBytes();
    if (m_groups.empty()) {
        m_groups.emplace_back();
    } else {
        m_groups.push_back(m_groups.back());
    }
    m_starPending = false;
}

bool Reader::groupEnd() {
    if (inOverflow()) {
        --m_overflow;
        return true;
    }
    if (m_groups.empty()) return false;
    flushBytes();
    const Destination closed = top().destination;
    m_groups.pop_back();
    m_starPending = false;
    if (closed == Destination::FontTable || closed == Destination::ColourTable) m_cachedChars.reset();
    if (closed == Destination::FontTable && (m_groups.empty() || top().destination != Destination::FontTable))
        m_tableFont = -1;
    return !m_groups.empty();
}

Font* Reader::fontOf(int number) {
    const auto it = m_fonts.find(number);
    return it == m_fonts.end() ? nullptr : &it->second;
}

int Reader::codePageOf(const CharState& chars) {
    const Font* font = fontOf(chars.font < 0 ? m_defaultFont : chars.font);
    if (!font) return m_documentCodePage;
    if (font->codePage > 0) return font->codePage;
    return codePageOfCharset(font->charset, m_documentCodePage);
}

QTextCharFormat Reader::formatOf(const CharState& chars) {
    if (m_cachedChars && *m_cachedChars == chars) return m_cachedFormat;
    QTextCharFormat format;
    format.setFontWeight(chars.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(chars.italic);
    format.setFontUnderline(chars.underline);
    format.setFontStrikeOut(chars.strike);
    format.setFontPointSize(chars.halfPoints / 2.0);
    // A name ends at its ";" or wherever its group does; the blanks around it are not part of it.
    if (const Font* font = fontOf(chars.font < 0 ? m_defaultFont : chars.font); font) {
        if (const QString name = font->name.trimmed(); !name.isEmpty())
            format.setFontFamilies(QStringList{name});
    }
    if (chars.colour >= 0 && static_cast<size_t>(chars.colour) < m_colours.size() && m_colours[chars.colour])
        format.setForeground(*m_colours[chars.colour]);
    m_cachedChars = chars;
    m_cachedFormat = format;
    return format;
}

QString* Reader::textTarget() {
    switch (top().destination) {
        case Destination::Body:
            beginBodyText();
            return &m_run;
        case Destination::FontTable: {
            Font* font = fontOf(m_tableFont);
            return font && !font->named ? &font->name : &m_unusedName;
        }
        default:
            return nullptr;
    }
}

void Reader::beginBodyText() {
    if (m_pendingBreak) {
        breakParagraph();
        m_pendingBreak = false;
    }
    if (const CharState chars = top().effective(); !(m_runChars == chars)) {
        flushRun();
        m_runChars = chars;
    }
}

void Reader::flushBytes() {
    if (m_pendingBytes.empty()) return;
    QString& target = *m_pendingTarget;
    const qsizetype from = target.size();
    m_converter.decode(m_pendingCodePage, m_pendingBytes, target);
    m_pendingBytes.clear();
    // Control characters are not text, whichever code page they came from.
    const auto text = target.begin() + from;
    target.erase(std::remove_if(text, target.end(), [](QChar c) { return c.unicode() < 0x20 && c != '\t'; }),
                 target.end());
}

void Reader::flushRun() {
    flushBytes();
    if (m_run.isEmpty()) return;
    m_cursor.insertText(m_run, formatOf(m_runChars));
    m_paragraphEmpty = runEndsInBreak();
    m_run.clear();
    m_runBreak = -1;
}

// A run of text takes its paragraph's break along, so that paragraphs of one format go into the document in
// one insertion: inserting each block on its own costs a third more.
void Reader::breakParagraph() {
    flushBytes();
    if (!m_run.isEmpty()) {
        m_run.append(QChar::ParagraphSeparator);
        m_runBreak = m_run.size() - 1;
        return;
    }
    m_cursor.insertBlock();
    m_paragraphEmpty = true;
}

void Reader::bytes(std::string_view data) {
    const Destination destination = top().destination;
    if (destination == Destination::Skip) return;
    if (destination == Destination::ColourTable) {
        for (char c : data) {
            if (c != ';') continue;
            m_colours.push_back(m_colourGiven ? std::optional<QColor>(QColor(m_red, m_green, m_blue))
                                              : std::nullopt);
            m_red = m_green = m_blue = 0;
            m_colourGiven = false;
        }
        return;
    }
    if (destination == Destination::FontTable) {
        Font* font = fontOf(m_tableFont);
        if (!font || font->named) return;
        const size_t end = data.find(';');
        const int codePage =
            font->codePage > 0 ? font->codePage : codePageOfCharset(font->charset, m_documentCodePage);
        appendBytes(&font->name, codePage, data.substr(0, end));
        if (end != std::string_view::npos) {
            flushBytes();
            font->named = true;
        }
        return;
    }
    const int codePage = codePageOf(top().effective());
    appendBytes(textTarget(), codePage, data);
}

void Reader::appendBytes(QString* target, int codePage, std::string_view data) {
    if (m_pendingTarget != target || m_pendingCodePage != codePage) flushBytes();
    m_pendingTarget = target;
    m_pendingCodePage = codePage;
    for (char c : data)  // control characters other than tab are not text
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') m_pendingBytes.push_back(c);
}

void Reader::unit(char16_t c) {
    if (c < 0x20 && c != '\t') return;
    QString* target = textTarget();
    if (!target) return;
    flushBytes();
    target->append(QChar(c));
}

void Reader::paragraph() {
    if (top().destination != Destination::Body) return;
    flushBytes();
    if (m_pendingBreak) breakParagraph();
    if (m_run.isEmpty() ? m_paragraphEmpty : runEndsInBreak()) {
        flushRun();
        m_cursor.setBlockCharFormat(formatOf(top().effective()));
    }
    m_pendingBreak = true;
}

void Reader::symbol(unsigned char c) {
    switch (c) {
        case '\\':
        case '{':
        case '}': {
            const char b = static_cast<char>(c);
            bytes(std::string_view(&b, 1));
            break;
        }
        case '~':
            unit(0x00A0);
            break;
        case '_':
            unit(0x2011);
            break;
        case '*':
            if (!inOverflow()) m_starPending = true;
            break;
        default:  // \- optional hyphen, \: index entry, \| formula: nothing to show
            break;
    }
}

void Reader::word(const RtfToken& token) {
    Group& group = top();
    const RtfWordInfo* found = findRtfWord(token.text);
    const bool star = std::exchange(m_starPending, false);
    if (star && !inOverflow()) {  // a destination this reader need not know: skip it
        flushBytes();
        group.destination = Destination::Skip;
        return;
    }
    if (!found) return;
    const RtfWordInfo& info = *found;
    const Word w = info.word;
    const int param = token.param;
    const bool on = !token.hasParam || param != 0;

    if (w == Word::Bin) {  // binary data is skipped wherever it is
        m_tokenizer->takeBinary(token.hasParam && param > 0 ? static_cast<std::uint64_t>(param) : 0);
        return;
    }
    if (group.destination == Destination::Skip) return;

    // Words that add text apply at any depth.
    switch (w) {
        case Word::Par:
            paragraph();
            return;
        case Word::Character:
            unit(info.character);
            return;
        case Word::Unicode:
            if (token.hasParam && param >= -32768 && param <= 65535)
                unit(static_cast<char16_t>(param < 0 ? param + 65536 : param));
            m_skipCount = group.unicodeSkip;
            return;
        default:
            break;
    }
    if (inOverflow()) return;  // its group has no state of its own to change

    CharState& chars = group.chars;
    switch (w) {
        case Word::Ansi:
            m_documentCodePage = kCodePageWestern;
            break;
        case Word::AnsiCpg:
            if (token.hasParam && param > 0) m_documentCodePage = param;
            break;
        case Word::Mac:
            m_documentCodePage = 10000;
            break;
        case Word::Pc:
            m_documentCodePage = 437;
            break;
        case Word::Pca:
            m_documentCodePage = 850;
            break;
        case Word::Deff:
            m_defaultFont = param;
            break;
        case Word::FontTable:
            flushBytes();
            group.destination = Destination::FontTable;
            break;
        case Word::ColourTable:
            flushBytes();
            group.destination = Destination::ColourTable;
            m_colours.clear();
            break;
        case Word::Skipped:
            flushBytes();
            group.destination = Destination::Skip;
            break;
        case Word::Font:
            if (group.destination == Destination::FontTable) {
                flushBytes();
                m_tableFont = param;
                if (m_fonts.size() < kMaxRtfFonts) m_fonts.try_emplace(param);
            } else {
                chars.font = param;
            }
            break;
        case Word::Charset:
            if (Font* font = fontOf(m_tableFont); font && group.destination == Destination::FontTable)
                font->charset = param;
            break;
        case Word::CodePage:
            if (Font* font = fontOf(m_tableFont); font && group.destination == Destination::FontTable)
                font->codePage = param > 0 ? param : 0;
            break;
        case Word::Red:
        case Word::Green:
        case Word::Blue:
            if (group.destination == Destination::ColourTable) {
                const int value = std::clamp(param, 0, 255);
                (w == Word::Red ? m_red : w == Word::Green ? m_green : m_blue) = value;
                m_colourGiven = true;
            }
            break;
        case Word::Bold:
            chars.bold = on;
            break;
        case Word::Italic:
            chars.italic = on;
            break;
        case Word::Underline:
            chars.underline = on;
            break;
        case Word::UnderlineNone:
            chars.underline = false;
            break;
        case Word::Strike:
            chars.strike = on;
            break;
        case Word::FontSize:
            chars.halfPoints = token.hasParam ? std::clamp(param, kMinHalfPoints, kMaxHalfPoints) : 24;
            break;
        case Word::Colour:
            chars.colour = param;
            break;
        case Word::Plain:
            chars = CharState{};
            group.doubleByte = DoubleByteChars{};
            group.assocClass = TextClass::None;
            group.doubleByteText = false;
            break;
        case Word::LowAnsi:
        case Word::HighAnsi:
            group.assocClass = TextClass::Latin;
            group.doubleByteText = false;
            break;
        case Word::DoubleByte:
            group.assocClass = TextClass::DoubleByte;
            group.doubleByteText = true;
            break;
        case Word::RightToLeft:
            group.assocClass = TextClass::RightToLeft;
            break;
        case Word::LeftToRight:
            group.assocClass = TextClass::None;
            break;
        case Word::AssocFont:
        case Word::AssocSize:
        case Word::AssocBold:
        case Word::AssocItalic: {
            if (group.assocClass != TextClass::Latin && group.assocClass != TextClass::DoubleByte) break;
            const bool latin = group.assocClass == TextClass::Latin;
            DoubleByteChars& d = group.doubleByte;
            if (w == Word::AssocFont) {
                (latin ? chars.font : d.font) = param;
            } else if (w == Word::AssocSize) {
                const int size = token.hasParam ? std::clamp(param, kMinHalfPoints, kMaxHalfPoints) : 24;
                (latin ? chars.halfPoints : d.halfPoints) = size;
            } else if (w == Word::AssocBold) {
                latin ? void(chars.bold = on) : void(d.bold = on);
            } else {
                latin ? void(chars.italic = on) : void(d.italic = on);
            }
            break;
        }
        case Word::UnicodeSkip:
            group.unicodeSkip = std::clamp(param, 0, kMaxUnicodeSkip);
            break;
        default:
            break;
    }
}

}  // namespace

bool looksLikeRtf(std::string_view bytes) {
    return bytes.starts_with("{\\rtf");
}

void readRtf(std::string_view bytes, QTextDocument& document) {
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    if (looksLikeRtf(bytes)) {
        Reader(document).read(bytes);
    } else {
        QString text = QString::fromUtf8(decodeText(bytes).text);
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        text.removeIf([](QChar c) { return c.unicode() < 0x20 && c != '\n' && c != '\t'; });
        document.setPlainText(text);
    }
    document.setUndoRedoEnabled(undo);
}

}  // namespace tarvelin
