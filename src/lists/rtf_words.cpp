#include "lists/rtf_words.h"

#include <unordered_map>

namespace tarvelin {

const RtfWordInfo* findRtfWord(std::string_view word) {
    using W = RtfWord;
    static const std::unordered_map<std::string_view, RtfWordInfo> table = [] {
        // clang-format off
        std::unordered_map<std::string_view, RtfWordInfo> t{
            {"ansi", {W::Ansi}}, {"ansicpg", {W::AnsiCpg}}, {"mac", {W::Mac}}, {"pc", {W::Pc}},
            {"pca", {W::Pca}}, {"deff", {W::Deff}},
            {"fonttbl", {W::FontTable}}, {"colortbl", {W::ColourTable}}, {"f", {W::Font}},
            {"fcharset", {W::Charset}}, {"cpg", {W::CodePage}},
            {"red", {W::Red}}, {"green", {W::Green}}, {"blue", {W::Blue}},
            {"b", {W::Bold}}, {"i", {W::Italic}}, {"ul", {W::Underline}}, {"ulnone", {W::UnderlineNone}},
            {"strike", {W::Strike}}, {"striked", {W::Strike}}, {"fs", {W::FontSize}}, {"cf", {W::Colour}},
            {"plain", {W::Plain}},
            {"par", {W::Par}}, {"sect", {W::Par}}, {"page", {W::Par}}, {"row", {W::Par}},
            {"u", {W::Unicode}}, {"uc", {W::UnicodeSkip}}, {"bin", {W::Bin}},
            {"line", {W::Character, 0x2028}}, {"lbr", {W::Character, 0x2028}},
            {"tab", {W::Character, '\t'}}, {"cell", {W::Character, '\t'}},
            {"emdash", {W::Character, 0x2014}}, {"endash", {W::Character, 0x2013}},
            {"bullet", {W::Character, 0x2022}}, {"lquote", {W::Character, 0x2018}},
            {"rquote", {W::Character, 0x2019}}, {"ldblquote", {W::Character, 0x201C}},
            {"rdblquote", {W::Character, 0x201D}}, {"emspace", {W::Character, 0x2003}},
            {"enspace", {W::Character, 0x2002}},
            {"loch", {W::LowAnsi}}, {"hich", {W::HighAnsi}}, {"dbch", {W::DoubleByte}},
            {"rtlch", {W::RightToLeft}}, {"ltrch", {W::LeftToRight}},
            {"af", {W::AssocFont}}, {"afs", {W::AssocSize}}, {"ab", {W::AssocBold}}, {"ai", {W::AssocItalic}},
        };
        for (std::string_view u : {"uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth",
                                   "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave",
                                   "ulw", "ulwave"})
            t.emplace(u, RtfWordInfo{W::Underline});
        // Destinations whose text is not part of the note.
        for (std::string_view d : {
                 "annotation", "atnauthor", "atnid", "atnref", "atntime", "atrfend", "atrfstart", "author",
                 "background", "bkmkend", "bkmkstart", "buptim", "colorschememapping", "comment", "company",
                 "creatim", "datastore", "do", "doccomm", "docvar", "falt", "fldinst", "footer", "footerf",
                 "footerl", "footerr", "footnote", "formfield", "ftncn", "ftnsep", "ftnsepc", "generator",
                 "header", "headerf", "headerl", "headerr", "info", "keywords", "latentstyles",
                 "listoverridetable", "listtable", "nonshppict", "object", "operator", "panose", "pgdsctbl",
                 "pict", "printim", "private", "revtbl", "revtim", "rsidtbl", "shp", "shpinst", "stylesheet",
                 "subject", "tc", "template", "themedata", "title", "txe", "userprops", "xe", "xmlnstbl"})
            t.emplace(d, RtfWordInfo{W::Skipped});
        // clang-format on
        return t;
    }();
    const auto it = table.find(word);
    return it == table.end() ? nullptr : &it->second;
}

}  // namespace tarvelin
