#include "lists/rtf_writer.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "lists/rtf_codepage.h"

namespace tarvelin {
namespace {

struct RunStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int font = 0;
    int halfPoints = 24;
    int colour = 0;
};

QString familyOf(const QTextCharFormat& format, const QString& fallback) {
    const QVariant families = format.property(QTextFormat::FontFamilies);
    if (families.isValid()) {
        const QStringList list = families.toStringList();
        if (!list.isEmpty() && !list.front().isEmpty()) return list.front();
    }
    const QString family = format.stringProperty(QTextFormat::FontFamily);  // set by older Qt code
    return family.isEmpty() ? fallback : family;
}

// Whole half-points, as the size box shows them: 15 px (11.25 points) is written as 11 and reopens as 11.
int halfPointsOf(double points) {
    return std::clamp(static_cast<int>(std::floor(points * 2 + 1e-6)), 2, 3276);
}

int defaultHalfPoints(const QFont& font) {
    if (font.pointSizeF() > 0) return halfPointsOf(font.pointSizeF());
    if (font.pixelSize() > 0) return halfPointsOf(font.pixelSize() * 0.75);
    return 24;
}

class Writer {
public:
    explicit Writer(const QTextDocument& document)
        : m_document(document),
          m_defaultFamily(document.defaultFont().family()),
          m_defaultHalfPoints(defaultHalfPoints(document.defaultFont())) {}

    std::string write();

private:
    RunStyle styleOf(const QTextCharFormat& format);
    int fontIndex(const QString& family);
    int colourIndex(const QColor& colour);
    void collectTables();
    void header();
    void switchTo(const RunStyle& style);
    void controlWord(std::string_view word, int param, bool withParam = true);
    void text(QStringView text, bool japanese);
    void literal(char c);
    void hex(unsigned char byte);
    void unicode(char16_t unit);
    void name(const QString& family);

    const QTextDocument& m_document;
    QString m_defaultFamily;
    int m_defaultHalfPoints;
    std::vector<QString> m_fonts;
    std::vector<QColor> m_colours;
    CodePageConverter m_converter;
    std::string m_out;
    RunStyle m_current{.font = -1, .halfPoints = -1};  // the first run states its font and size
    bool m_needsDelimiter = false;
};

int Writer::fontIndex(const QString& family) {
    const auto it = std::find(m_fonts.begin(), m_fonts.end(), family);
    if (it != m_fonts.end()) return static_cast<int>(it - m_fonts.begin());
    m_fonts.push_back(family);
    return static_cast<int>(m_fonts.size() - 1);
}

int Writer::colourIndex(const QColor& colour) {
    const QRgb rgb = colour.rgb();
    const auto it =
        std::find_if(m_colours.begin(), m_colours.end(), [rgb](const QColor& c) { return c.rgb() == rgb; });
    if (it != m_colours.end()) return static_cast<int>(it - m_colours.begin()) + 1;
    m_colours.push_back(colour);
    return static_cast<int>(m_colours.size());
}

RunStyle Writer::styleOf(const QTextCharFormat& format) {
    RunStyle style;
    style.bold = format.fontWeight() > QFont::Medium;
    style.italic = format.fontItalic();
    style.underline = format.fontUnderline();
    style.strike = format.fontStrikeOut();
    style.font = fontIndex(familyOf(format, m_defaultFamily));
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
        style.halfPoints = halfPointsOf(format.fontPointSize());
    else if (format.hasProperty(QTextFormat::FontPixelSize) &&
             format.intProperty(QTextFormat::FontPixelSize) > 0)
        style.halfPoints = halfPointsOf(format.intProperty(QTextFormat::FontPixelSize) * 0.75);
    else
        style.halfPoints = m_defaultHalfPoints;
    const QBrush foreground = format.foreground();
    style.colour = foreground.style() == Qt::NoBrush ? 0 : colourIndex(foreground.color());
    return style;
}

void Writer::collectTables() {
    fontIndex(m_defaultFamily);  // \f0, the default font
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        if (block.length() <= 1) styleOf(block.charFormat());
        for (auto it = block.begin(); !it.atEnd(); ++it) styleOf(it.fragment().charFormat());
    }
}

void Writer::controlWord(std::string_view word, int param, bool withParam) {
    m_out += '\\';
    m_out += word;
    if (withParam) m_out += std::to_string(param);
    m_needsDelimiter = true;
}

void Writer::literal(char c) {
    if (m_needsDelimiter) m_out += ' ';
    m_needsDelimiter = false;
    m_out += c;
}

void Writer::hex(unsigned char byte) {
    static constexpr char kDigits[] = "0123456789abcdef";
    m_out += "\\'";
    m_out += kDigits[byte >> 4];
    m_out += kDigits[byte & 15];
    m_needsDelimiter = false;
}

void Writer::unicode(char16_t unit) {
    // Signed 16 bits, as older readers parse it; "?" is what readers without \u show.
    const int value = unit > 32767 ? static_cast<int>(unit) - 65536 : static_cast<int>(unit);
    m_out += "\\u" + std::to_string(value) + "?";
    m_needsDelimiter = false;
}

void Writer::text(QStringView text, bool japanese) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == '\\' || c == '{' || c == '}') {
            m_out += '\\';
            m_out += static_cast<char>(c);
            m_needsDelimiter = false;
        } else if (c == '\t') {
            controlWord("tab", 0, false);
        } else if (c == 0x2028) {
            controlWord("line", 0, false);
        } else if (c >= 0x20 && c < 0x7F) {
            literal(static_cast<char>(c));
        } else if (c < 0x20) {
            // control characters are not text; readers drop them
        } else {
            const bool pair =
                QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate();
            const QStringView character = text.mid(i, pair ? 2 : 1);
            const std::string bytes = japanese ? m_converter.encodeCp932(character) : std::string();
            if (!bytes.empty()) {
                for (char b : bytes) hex(static_cast<unsigned char>(b));
            } else {
                for (QChar u : character) unicode(u.unicode());
            }
            if (pair) ++i;
        }
    }
}

void Writer::name(const QString& family) {
    const bool japanese = isJapaneseFamily(family);
    QString clean = family;
    clean.remove(QLatin1Char(';'));  // the name ends at the first ";"
    text(clean, japanese);
}

void Writer::header() {
    m_out += "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl";
    for (size_t i = 0; i < m_fonts.size(); ++i) {
        m_out += "{";
        controlWord("f", static_cast<int>(i));
        controlWord("fnil", 0, false);
        controlWord("fcharset", isJapaneseFamily(m_fonts[i]) ? 128 : 0);
        m_out += ' ';
        m_needsDelimiter = false;
        name(m_fonts[i]);
        m_out += ";}";
        m_needsDelimiter = false;
    }
    m_out += "}\r\n{\\colortbl ;";
    for (const QColor& c : m_colours)
        m_out += "\\red" + std::to_string(c.red()) + "\\green" + std::to_string(c.green()) + "\\blue" +
                 std::to_string(c.blue()) + ";";
    m_out += "}\r\n\\uc1\\pard\\plain";
    m_needsDelimiter = true;
}

void Writer::switchTo(const RunStyle& style) {
    if (style.bold != m_current.bold) controlWord("b", 0, !style.bold);
    if (style.italic != m_current.italic) controlWord("i", 0, !style.italic);
    if (style.underline != m_current.underline) controlWord(style.underline ? "ul" : "ulnone", 0, false);
    if (style.strike != m_current.strike) controlWord("strike", 0, !style.strike);
    if (style.font != m_current.font) controlWord("f", style.font);
    if (style.halfPoints != m_current.halfPoints) controlWord("fs", style.halfPoints);
    if (style.colour != m_current.colour) controlWord("cf", style.colour);
    m_current = style;
}

std::string Writer::write() {
    collectTables();
    header();
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        if (block.length() <= 1) switchTo(styleOf(block.charFormat()));
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const RunStyle style = styleOf(fragment.charFormat());
            switchTo(style);
            text(fragment.text(), isJapaneseFamily(m_fonts[static_cast<size_t>(style.font)]));
        }
        m_out += "\\par\r\n";
        m_needsDelimiter = false;
    }
    m_out += "}\r\n";
    return std::move(m_out);
}

}  // namespace

bool isJapaneseFamily(const QString& family) {
    for (QChar c : family)
        if (c.unicode() >= 0x3000) return true;  // a name in Japanese script
    static const char* const kJapanese[] = {
        "IPA",        "Noto Sans CJK JP", "Noto Serif CJK JP", "Source Han",   "Takao",     "VL Gothic",
        "VL PGothic", "MS Gothic",        "MS PGothic",        "MS UI Gothic", "MS Mincho", "MS PMincho",
        "Meiryo",     "Yu Gothic",        "Yu Mincho"};
    for (const char* prefix : kJapanese)
        if (family.startsWith(QLatin1String(prefix))) return true;
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) &&
           QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese);
}

std::string writeRtf(const QTextDocument& document) {
    return Writer(document).write();
}

}  // namespace tarvelin
