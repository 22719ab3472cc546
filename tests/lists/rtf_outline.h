#pragma once

#include <QTextBlock>
#include <QTextDocument>
#include <string>

namespace tarvelin::test {

// The document's paragraphs, one a line, each run as "[attributes]text": b i u s for bold, italic, underline
// and strike-out, then the font family, the point size and the colour where the run sets them.
inline std::string formatOutline(const QTextDocument& document) {
    QStringList paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString line;
        const auto describe = [&line](const QTextCharFormat& f, const QString& text) {
            QStringList a;
            if (f.fontWeight() > QFont::Medium) a << "b";
            if (f.fontItalic()) a << "i";
            if (f.fontUnderline()) a << "u";
            if (f.fontStrikeOut()) a << "s";
            if (const QStringList families = f.fontFamilies().toStringList(); !families.isEmpty())
                a << families.front();
            if (f.hasProperty(QTextFormat::FontPointSize)) a << QString::number(f.fontPointSize());
            if (f.foreground().style() != Qt::NoBrush) a << f.foreground().color().name();
            line += "[" + a.join(' ') + "]" + text;
        };
        for (auto it = block.begin(); !it.atEnd(); ++it)
            describe(it.fragment().charFormat(), it.fragment().text());
        if (block.length() <= 1 && block.charFormat().hasProperty(QTextFormat::FontPointSize))
            describe(block.charFormat(), QString());  // an empty paragraph's own format
        if (block.length() <= 1 && line.isEmpty()) line = "[]";
        paragraphs << line;
    }
    return paragraphs.join('\n').toStdString();
}

}  // namespace tarvelin::test
