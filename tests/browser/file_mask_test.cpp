#include "browser/file_mask.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "browser/file_glyph.h"
#include "browser/name_case.h"

namespace tarvelin {
namespace {

struct MatchCase {
    const char* pattern;
    const char* name;
    bool matches;
};

TEST(FilePattern, FollowsWindowsWildcardRules) {
    const MatchCase cases[] = {
        // "*.*" and "*" take every name, with or without a dot.
        {"*.*", "a.txt", true},
        {"*.*", "README", true},
        {"*.*", "a.b.c", true},
        {"*", "README", true},
        // A star before a dot never takes the last dot.
        {"*.txt", "a.txt", true},
        {"*.txt", "A.TXT", true},
        {"*.txt", "a.b.txt", true},
        {"*.txt", "a.txt.bak", false},
        {"*.txt", "a.txte", false},
        {"*.txt", "atxt", false},
        {"*.TXT", "notes.txt", true},
        {"*.html", "index.htm", false},
        {"*.htm", "index.html", false},
        // "*." is the names without a dot.
        {"*.", "README", true},
        {"*.", "a.txt", false},
        {"*.", "a.b.c", false},
        // "?" is one character, or none before a dot or at the end.
        {"a?.txt", "ab.txt", true},
        {"a?.txt", "a.txt", true},
        {"a?.txt", "abc.txt", false},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"a?", "a", true},
        {"a?", "ab", true},
        {"a?", "abc", false},
        {"a??.b", "a.b", true},
        {"a??b", "a.b", false},
        {"*.?", "a.b", true},
        {"*.?", "a", true},
        {"*.?", "a.bc", false},
        // A dot before a wildcard also matches the end of the name.
        {"a.*", "a", true},
        {"a.*", "a.b", true},
        {"a.*", "a.b.c", true},
        {"a.*", "ab", false},
        {"*.t*", "a.txt.b", true},
        {"*.t*", "a.doc", false},
        {"a*b*c", "aXbYbZc", true},
        {"a*b*c", "aXbYbZ", false},
        {"*a*", "BANANA", true},
        // Without wildcards a pattern is one name.
        {"readme.TXT", "README.txt", true},
        {"readme.txt", "readme.txt2", false},
        // "?" takes a whole character, never a byte of one.
        {"??.txt", "資料.txt", true},
        {"?.txt", "資料.txt", false},
        {"*.ＴＸＴ", "メモ.ｔｘｔ", true},
        {"*.É", "café.é", true},
        {"\x8e\x91*.txt", "\x8e\x91\x97\xbf.TXT", true},
        {"*.txt", "\x8e\x91\x97\xbf.doc", false},
    };
    for (const MatchCase& c : cases)
        EXPECT_EQ(FilePattern(c.pattern).matches(foldCase(c.name)), c.matches)
            << "pattern " << c.pattern << " name " << c.name;
}

TEST(FileMask, SplitsAtSemicolonsInOrderAndCountsEveryMatch) {
    const FileMask mask("*.txt;*.doc;a*");
    ASSERT_EQ(mask.patterns().size(), 3u);
    EXPECT_EQ(mask.patterns()[0].text(), "*.txt");
    EXPECT_EQ(mask.patterns()[1].text(), "*.doc");
    EXPECT_EQ(mask.patterns()[2].text(), "a*");
    EXPECT_EQ(mask.matchCount("b.txt"), 1);
    EXPECT_EQ(mask.matchCount("a.txt"), 2);
    EXPECT_EQ(mask.matchCount("b.xls"), 0);

    const FileMask withEmpty(";*.txt;;");
    ASSERT_EQ(withEmpty.patterns().size(), 1u);
    EXPECT_EQ(withEmpty.patterns()[0].text(), "*.txt");
    EXPECT_TRUE(FileMask("").patterns().empty());
    // A pattern can never name something outside the folder.
    EXPECT_EQ(FileMask("*/../*").matchCount("a.txt"), 0);
}

TEST(FoldCase, LowersLettersAndKeepsOtherBytes) {
    const std::pair<const char*, const char*> cases[] = {
        {"ReadMe.TXT", "readme.txt"},
        {"ＡＢＣ.txt", "ａｂｃ.txt"},
        {"ÄÖÜ×Ÿ", "äöü×ÿ"},
        {"ΑΩ ЖЁ", "αω жё"},
        {"資料", "資料"},
        {"\x8e\x91\x97\xbf.TXT", "\x8e\x91\x97\xbf.txt"},
        {"\xC3", "\xC3"},  // a cut sequence stays a byte
    };
    for (const auto& [name, folded] : cases) EXPECT_EQ(foldCase(name), folded) << name;
}

TEST(SortWithoutCase, SameOrderAsComparingFoldedNamesThenBytes) {
    // Beginnings shared past the eight bytes compared at once (by all names, by some, by some for longer than
    // any file name), names that begin other names, bytes above 0x7F.
    const std::string stems[] = {"IMG_2024_0", "IMG_2024_",           "img_2024", "a", "A", "\xE5\x86\x99",
                                 "\x8e\x91",   std::string(300, 'y'), "Z"};
    const char letters[] = "aB0\xC3\x84\xFF.";
    for (const char* shared : {"", "IMG_20240101_"}) {
        std::vector<std::string> names;
        unsigned x = 7;
        const auto next = [&x](size_t range) {
            x = x * 1103515245 + 12345;
            return ((x >> 16) & 0x7FFF) % range;
        };
        for (int i = 0; i < 500; ++i) {
            std::string name = shared + stems[next(std::size(stems))];
            for (unsigned n = next(10); n > 0; --n) name += letters[next(sizeof letters - 1)];
            names.push_back(name);
        }
        std::vector<std::pair<std::string, std::string>> expected;
        for (const std::string& name : names) expected.emplace_back(foldCase(name), name);
        std::sort(expected.begin(), expected.end());
        sortWithoutCase(names);
        ASSERT_EQ(names.size(), expected.size());
        for (size_t i = 0; i < names.size(); ++i)
            ASSERT_EQ(names[i], expected[i].second) << shared << " at " << i;
    }
}

TEST(FileGlyph, ProgramForTheFourExtensionsInAnyCase) {
    const std::pair<const char*, FileGlyph> cases[] = {
        {"a.EXE", FileGlyph::Program},      {"setup.exe", FileGlyph::Program},
        {"x.Com", FileGlyph::Program},      {"run.bat", FileGlyph::Program},
        {"old.PIF", FileGlyph::Program},    {"\x8e\x91.exe", FileGlyph::Program},
        {"a.exe.txt", FileGlyph::Document}, {"exe", FileGlyph::Document},
        {"a.exe2", FileGlyph::Document},    {"a.cmd", FileGlyph::Document},
        {"a.ex", FileGlyph::Document},      {"a.ｅｘｅ", FileGlyph::Document},
    };
    for (const auto& [name, glyph] : cases) EXPECT_EQ(fileGlyph(name), glyph) << name;
}

}  // namespace
}  // namespace tarvelin
