#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "lists/list_document.h"
#include "support/temp_folder.h"
#include "tree_outline.h"

namespace tarvelin {
namespace {

using test::outline;
using test::TempFolder;
using Lines = std::vector<std::string>;

// The four-line example: a root holding the binder 資料 with one file, then a folder item under the root.
ListDocument exampleDocument(Encoding encoding) {
    ListDocument document;
    document.encoding = encoding;
    ListTree& tree = document.tree;
    const NodeId root = tree.addChild(kNoNode, "Untitled");
    const NodeId binder = tree.addChild(root, "資料");
    tree.addChild(binder, "C:\\work\\plan.xls");
    tree.addChild(root, "D:\\photos");
    return document;
}

const Lines kExampleOutline{"0 Untitled", "1 資料", "2 C:\\work\\plan.xls", "1 D:\\photos"};

TEST(ListFile, WritesTheExampleByteForByte) {
    struct Case {
        Encoding encoding;
        std::string bytes;
    };
    const Case cases[] = {
        {Encoding::Cp932, "Untitled\r\n\t\x8E\x91\x97\xBF\r\n\t\tC:\\work\\plan.xls\r\n\tD:\\photos\r\n"},
        {Encoding::Utf8,
         "Untitled\r\n\t\xE8\xB3\x87\xE6\x96\x99\r\n\t\tC:\\work\\plan.xls\r\n\tD:\\photos\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.encoding));
        const TempFolder folder;
        ListDocument written = exampleDocument(c.encoding);
        writeListDocument(written, folder.file("a.kxd"));
        EXPECT_EQ(folder.read("a.kxd"), c.bytes);
        EXPECT_EQ(written.encoding, c.encoding);

        ListDocument read;
        read.encoding = c.encoding == Encoding::Utf8 ? Encoding::Cp932 : Encoding::Utf8;
        readListDocument(read, folder.file("a.kxd"));
        EXPECT_EQ(outline(read.tree), kExampleOutline);
        EXPECT_EQ(read.encoding, c.encoding);
        EXPECT_EQ(read.fileName, "Untitled");  // reading never names the document

        writeListDocument(read, folder.file("b.kxd"));
        EXPECT_EQ(folder.read("b.kxd"), c.bytes);
    }
}

TEST(ListFile, RoundTripsAwkwardTrees) {
    struct Case {
        const char* name;
        Lines tree;  // "level text", placed with addChild
        bool utf8Only = false;
    };
    const Case cases[] = {
        {"empty", {}},
        {"several top-level nodes", {"0 R", "1 a", "0 S", "0 T", "1 b"}},
        {"empty texts", {"0 ", "1 ", "2 ", "1 x", "0 "}},
        {"trailing blanks", {"0 R  ", "1 b\t", "1 c "}},
        {"Japanese and half-width katakana", {"0 ﾘｽﾄ", "1 資料", "2 /home/u/ＡＢＣ.txt"}},
        // In a CP932 list such a name has the same bytes as its decoded form, so only UTF-8 lists keep it
        // apart.
        {"a name that is not UTF-8 beside a Japanese one",
         {"0 R", "1 /tmp/\x8E\x91\x97\xBF.txt", "1 資料"},
         true},
    };
    for (const Encoding encoding : {Encoding::Utf8, Encoding::Cp932}) {
        for (const Case& c : cases) {
            if (c.utf8Only && encoding != Encoding::Utf8) continue;
            SCOPED_TRACE(std::string(c.name) + (encoding == Encoding::Utf8 ? " UTF-8" : " CP932"));
            const TempFolder folder;
            ListDocument document;
            document.encoding = encoding;
            std::vector<NodeId> branch;
            for (const std::string& line : c.tree) {
                const size_t level = static_cast<size_t>(line[0] - '0');
                branch.resize(level);
                branch.push_back(document.tree.addChild(level ? branch[level - 1] : kNoNode, line.substr(2)));
            }
            ASSERT_EQ(outline(document.tree), c.tree);
            writeListDocument(document, folder.file("a.kxd"));
            const std::string bytes = folder.read("a.kxd");
            if (c.tree.empty()) {
                EXPECT_EQ(bytes, "");
            }

            ListDocument read;
            readListDocument(read, folder.file("a.kxd"));
            EXPECT_EQ(outline(read.tree), c.tree);
            writeListDocument(read, folder.file("b.kxd"));
            EXPECT_EQ(folder.read("b.kxd"), bytes);
        }
    }
}

TEST(ListFile, NamesWithLeadingBlanksReadBackDeeper) {
    const TempFolder folder;
    ListDocument document;
    document.encoding = Encoding::Utf8;
    const NodeId root = document.tree.addChild(kNoNode, "R");
    document.tree.addChild(root, "a");
    document.tree.addChild(root, " b");
    document.tree.addChild(root, "\tc");
    writeListDocument(document, folder.file("a.kxd"));
    EXPECT_EQ(folder.read("a.kxd"), "R\r\n\ta\r\n\t b\r\n\t\tc\r\n");
    ListDocument read;
    readListDocument(read, folder.file("a.kxd"));
    EXPECT_EQ(outline(read.tree), (Lines{"0 R", "1 a", "2 b", "2 c"}));
}

// A text that holds most of a file's bytes: its line takes over the file's buffer.
const std::string kLong = std::string(60, 'L') + "\xE8\xB3\x87\xE6\x96\x99" + std::string(40, 'M');

TEST(ListFile, ReadsEveryLineEnd) {
    struct Case {
        const char* name;
        std::string bytes;
        Lines tree;
    };
    const Case cases[] = {
        {"empty file", "", {}},
        {"CR LF", "R\r\n\ta\r\n\t\tb\r\n", {"0 R", "1 a", "2 b"}},
        {"lone LF", "R\n\ta\n\t\tb\n", {"0 R", "1 a", "2 b"}},
        {"lone CR", "R\r\ta\r\t\tb\r", {"0 R", "1 a", "2 b"}},
        {"mixed", "R\n\ta\r\tb\r\n\tc", {"0 R", "1 a", "1 b", "1 c"}},
        {"last line without an end", "R\r\n\ta", {"0 R", "1 a"}},
        {"CR CR LF is an end and an empty line", "R\r\r\n\ta\r\n", {"0 R", "0 ", "1 a"}},
        {"LF CR is two ends", "R\n\rx", {"0 R", "0 ", "0 x"}},
        {"blank line in the middle", "R\r\n\ta\r\n\r\n\tb\r\n", {"0 R", "1 a", "0 ", "1 b"}},
        {"a single line end", "\r\n", {"0 "}},
        {"NUL ends the text mid-line", std::string("R\r\n\tab\0c\r\n\tz\r\n", 14), {"0 R", "1 ab"}},
        {"NUL first", std::string("\0R\r\n", 4), {}},
        {"first line indented", "\t\t R\r\n\ta\r\n", {"0 R", "1 a"}},
        {"spaces count as levels", "R\r\n a\r\n \tb\r\n\t c\r\n", {"0 R", "1 a", "2 b", "2 c"}},
        {"walk up several levels",
         "R\n\ta\n\t\tb\n\t\t\tc\n\td\n\t\te\ne",
         {"0 R", "1 a", "2 b", "3 c", "1 d", "2 e", "0 e"}},
        {"trailing blanks and inner tabs kept", "R \t\r\n\ta\tb  \r\n", {"0 R \t", "1 a\tb  "}},
        {"two spaces after a level-1 node", "R\r\n\ta\r\n  C:\\a.txt\r\n", {"0 R", "1 a", "2 C:\\a.txt"}},
        {"UTF-8 byte-order mark is not text",
         "\xEF\xBB\xBFR\r\n\t\xE8\xB3\x87\xE6\x96\x99\r\n",
         {"0 R", "1 資料"}},
        {"CP932", "R\r\n\t\x8E\x91\x97\xBF\r\n\t\t\xB1\xB2\r\n", {"0 R", "1 資料", "2 ｱｲ"}},
        {"a long text between others", "R\r\n\t" + kLong + "\r\n\t\tz\r\n", {"0 R", "1 " + kLong, "2 z"}},
        {"a long text first, indented", " \t" + kLong + "\r\n\ta", {"0 " + kLong, "1 a"}},
        {"a long text last, up to a NUL", "R\n\t" + kLong + std::string("\0tail", 5), {"0 R", "1 " + kLong}},
        {"a long CP932 text",
         "R\r\n\t" + std::string(150, 'L') + "\x8E\x91\x97\xBF",
         {"0 R", "1 " + std::string(150, 'L') + "資料"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder folder;
        folder.write("a.kxd", c.bytes);
        ListDocument document = newListDocument();
        readListDocument(document, folder.file("a.kxd"));
        EXPECT_EQ(outline(document.tree), c.tree);
        for (NodeId node : document.tree.treeOrder()) {
            EXPECT_EQ(document.tree.icon(node), 0);
            EXPECT_EQ(document.tree.selectedIcon(node), 0);
            EXPECT_FALSE(document.tree.isExpanded(node));
        }
    }
}

TEST(ListFile, LevelErrorKeepsTheNodesBeforeIt) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string message;
        Lines kept;
    };
    const Case cases[] = {
        {"two tabs under a top-level node",
         "R\r\n\t\tX\r\n\ty\r\n",
         "アイテム \"X\" の階層 (2) が不正です",
         {"0 R"}},
        {"two spaces under a top-level node",
         "R\r\n  C:\\a.txt\r\n",
         "アイテム \"C:\\a.txt\" の階層 (2) が不正です",
         {"0 R"}},
        {"deep jump after a subtree",
         "R\n\ta\n\t\tb\n\tc\n\t\t\t\t資料 \n",
         "アイテム \"資料 \" の階層 (4) が不正です",
         {"0 R", "1 a", "2 b", "1 c"}},
        {"an empty text", "R\n\n\t\t\n", "アイテム \"\" の階層 (2) が不正です", {"0 R", "0 "}},
        {"a binder name that begins with a space, read back",
         "R\r\n\t\t x\r\n",
         "アイテム \"x\" の階層 (3) が不正です",
         {"0 R"}},
        {"after a long text",
         "R\r\n\t" + kLong + "\r\n\t\t\tX",
         "アイテム \"X\" の階層 (3) が不正です",
         {"0 R", "1 " + kLong}},
        {"in a CP932 file",
         "R\r\n\t\t\t\x8E\x91\x97\xBF\r\n",
         "アイテム \"資料\" の階層 (3) が不正です",
         {"0 R"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder folder;
        folder.write("a.kxd", c.bytes);
        ListDocument document = newListDocument();
        try {
            readListDocument(document, folder.file("a.kxd"));
            ADD_FAILURE() << "no error";
        } catch (const UserError& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
        EXPECT_EQ(outline(document.tree), c.kept);
    }
}

TEST(ListFile, ReadErrorsLeaveTheDocumentAlone) {
    const TempFolder folder;
    folder.write("plain", "x");
    const std::string large = folder.file("large.kxd");
    {
        const int fd = ::open(large.c_str(), O_CREAT | O_WRONLY, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(kMaxListFileBytes + 1)), 0);  // sparse: no disk used
        ::close(fd);
    }
    struct Case {
        std::string path;
        std::string message;
    };
    const Case cases[] = {
        {folder.file("none.kxd"), "ファイル " + folder.file("none.kxd") + " は開けません"},
        {folder.path(), "ファイル " + folder.path() + " は開けません"},
        {folder.file("plain/a.kxd"), "ファイル " + folder.file("plain/a.kxd") + " は開けません"},
        {large, "ファイル " + large + " は大きすぎて開けません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ListDocument document = exampleDocument(Encoding::Cp932);
        try {
            readListDocument(document, c.path);
            ADD_FAILURE() << "no error";
        } catch (const UserError& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
        EXPECT_EQ(outline(document.tree), kExampleOutline);
        EXPECT_EQ(document.encoding, Encoding::Cp932);
    }
}

TEST(ListFile, WriteErrorsWriteNothing) {
    const TempFolder folder;
    folder.write("plain", "x");
    std::filesystem::create_directory(folder.file("dir.kxd"));
    const std::string cases[] = {folder.file("missing/a.kxd"), folder.file("plain/a.kxd"),
                                 folder.file("dir.kxd")};
    for (const std::string& path : cases) {
        SCOPED_TRACE(path);
        ListDocument document = exampleDocument(Encoding::Utf8);
        try {
            writeListDocument(document, path);
            ADD_FAILURE() << "no error";
        } catch (const UserError& e) {
            EXPECT_EQ(std::string(e.what()), "ファイル " + path + " を作成できません");
        }
    }
    EXPECT_EQ(folder.read("plain"), "x");
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("dir.kxd")));
    EXPECT_TRUE(std::filesystem::is_empty(folder.file("dir.kxd")));
    // No temporary file left behind either.
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) ++entries;
    EXPECT_EQ(entries, 2u);
}

TEST(ListFile, WritingReplacesTheWholeFile) {
    const TempFolder folder;
    folder.write("a.kxd", std::string(1000, 'z'));
    ListDocument document;
    document.encoding = Encoding::Utf8;
    document.tree.addChild(kNoNode, "R");
    writeListDocument(document, folder.file("a.kxd"));
    EXPECT_EQ(folder.read("a.kxd"), "R\r\n");
    document.tree.clear();
    writeListDocument(document, folder.file("a.kxd"));
    EXPECT_EQ(folder.read("a.kxd"), "");
}

TEST(ListFile, ACp932ListWithATextCp932CannotHoldIsWrittenAsUtf8) {
    const TempFolder folder;
    ListDocument document = exampleDocument(Encoding::Cp932);
    document.tree.addChild(document.tree.first(), "한국");
    writeListDocument(document, folder.file("a.kxd"));
    EXPECT_EQ(folder.read("a.kxd"),
              "Untitled\r\n\t\xE8\xB3\x87\xE6\x96\x99\r\n\t\tC:\\work\\plan.xls\r\n\tD:\\photos\r\n\t"
              "\xED\x95\x9C\xEA\xB5\xAD\r\n");
    EXPECT_EQ(document.encoding, Encoding::Utf8);
}

TEST(ListFile, ChoosesTheEncodingOfTheBytes) {
    struct Case {
        const char* name;
        std::string bytes;
        Encoding encoding;
        std::string text;
    };
    const Case cases[] = {
        {"valid UTF-8", "\xE8\xB3\x87\xE6\x96\x99", Encoding::Utf8, "資料"},
        {"CP932", "\x8E\x91\x97\xBF", Encoding::Cp932, "資料"},
        {"CP932 with a UTF-8-looking two-byte pair", "\xC3\xB0\r\n\x8E\x91", Encoding::Cp932, "ﾃｰ\r\n資"},
        {"UTF-8 with a name that is not UTF-8", "\xE8\xB3\x87\xE6\x96\x99\r\n/\x8E\x91\x97\xBF",
         Encoding::Utf8, "資料\r\n/\x8E\x91\x97\xBF"},
        {"cut at NUL before deciding", std::string("\xE8\xB3\x87\0\x8E", 5), Encoding::Utf8, "資"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodedText decoded = decodeListBytes(c.bytes);
        EXPECT_EQ(decoded.encoding, c.encoding);
        EXPECT_EQ(decoded.text, c.text);
    }
}

TEST(ListFile, ProposesTheLastPartOfTheTitleAsAListFile) {
    const std::pair<const char*, const char*> cases[] = {
        {"Untitled", "Untitled.kxd"},
        {"proj.kxd", "proj.kxd"},
        {"/home/u/ファイル_00004.txt", "ファイル_00004.txt.kxd"},
        {"C:\\work\\plan.xls", "plan.xls.kxd"},
        {"/home/u/docs/", "docs.kxd"},
        {"/home/u/a.kxd", "a.kxd"},
        {"v1.2 notes", "v1.2 notes.kxd"},
        {"/", ""},
        {"", ""},
    };
    for (const auto& [title, proposed] : cases) EXPECT_EQ(proposedListFileName(title), proposed) << title;
}

TEST(ListFile, NewDocument) {
    const ListDocument document = newListDocument();
    EXPECT_EQ(outline(document.tree), Lines{"0 Untitled"});
    EXPECT_EQ(document.tree.icon(document.tree.first()), 0);
    EXPECT_EQ(document.tree.selectedIcon(document.tree.first()), 4);
    EXPECT_EQ(document.fileName, "Untitled");
    EXPECT_TRUE(document.isUntitled());
    EXPECT_FALSE(document.modified);
}

TEST(ListFile, LinesNobodyEditedKeepTheirCp932Bytes) {
    // 資料 makes each file CP932; the other lines hold what glibc would write back as other bytes.
    const std::string kShiryo = "\x8E\x91\x97\xBF";
    struct Case {
        const char* name;
        std::string line;    // the bytes of the line after the root
        std::string edited;  // what the line is written as once its text is set again ("" keeps it)
    };
    const Case cases[] = {
        {"NEC row: 87 90 (not 81 E0)", "\t\x87\x90", "\t\x81\xE0"},
        {"NEC-selected IBM: ED 40 (not FA 5C)", "\t\xED\x40", "\t\xFA\x5C"},
        {"NEC-selected IBM small numeral: EE EF (not FA 40)", "\t\xEE\xEF", "\t\xFA\x40"},
        {"IBM numeral: FA 4A (not 87 54)", "\t\xFA\x4A", "\t\x87\x54"},
        {"not CP932 but UTF-8 when kept raw: EB 80 80", "\t\x8E\x91\xEB\x80\x80", ""},
        {"not CP932: 85 40 and a lone A0", "\t\x85\x40\xA0", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder folder;
        const std::string bytes = "R\r\n" + c.line + "\r\n\t" + kShiryo + "\r\n";
        folder.write("a.kxd", bytes);
        ListDocument document;
        readListDocument(document, folder.file("a.kxd"));
        ASSERT_EQ(document.encoding, Encoding::Cp932);
        // Moved and unedited is still unedited.
        const NodeId line = document.tree.children(document.tree.first())[0];
        ASSERT_TRUE(document.tree.move(line, document.tree.first(), MoveMode::AddAsLastChild));
        writeListDocument(document, folder.file("b.kxd"));
        EXPECT_EQ(folder.read("b.kxd"), "R\r\n\t" + kShiryo + "\r\n" + c.line + "\r\n");
        EXPECT_EQ(document.encoding, Encoding::Cp932);

        // An edited line follows the encoding rule; the line beside it keeps its bytes.
        if (c.edited.empty()) continue;
        document.tree.setText(line, std::string(document.tree.text(line)));
        writeListDocument(document, folder.file("c.kxd"));
        EXPECT_EQ(folder.read("c.kxd"), "R\r\n\t" + kShiryo + "\r\n" + c.edited + "\r\n");
    }
}

TEST(ListFile, ATextCp932CannotHoldMakesTheFileUtf8WithTheOtherLinesDecoded) {
    const TempFolder folder;
    folder.write("a.kxd", "R\r\n\t\x87\x90\r\n\t\x8E\x91\x97\xBF\r\n");
    ListDocument document;
    readListDocument(document, folder.file("a.kxd"));
    document.tree.addChild(document.tree.first(), "한국");
    writeListDocument(document, folder.file("a.kxd"));
    EXPECT_EQ(folder.read("a.kxd"), "R\r\n\t≒\r\n\t資料\r\n\t한국\r\n");
    EXPECT_EQ(document.encoding, Encoding::Utf8);
}

TEST(ListFile, AByteOrderMarkIsKeptAndNeverTakenFromAText) {
    struct Case {
        const char* name;
        std::string bytes;
        Lines tree;
    };
    const Case cases[] = {
        {"UTF-8 with a mark", "\xEF\xBB\xBFR\r\n\t\xE8\xB3\x87\r\n", {"0 R", "1 資"}},
        {"UTF-8 with a mark and a name that is not UTF-8",
         "\xEF\xBB\xBF\r\n\t/\x8E\x91\r\n\t\xE8\xB3\x87\r\n",
         {"0 ", "1 /\x8E\x91", "1 資"}},
        {"a root text that begins with the mark's character",
         "\xEF\xBB\xBF\xEF\xBB\xBFR\r\n",
         {"0 \xEF\xBB\xBFR"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder folder;
        folder.write("a.kxd", c.bytes);
        ListDocument document;
        readListDocument(document, folder.file("a.kxd"));
        EXPECT_EQ(outline(document.tree), c.tree);
        writeListDocument(document, folder.file("b.kxd"));
        EXPECT_EQ(folder.read("b.kxd"), c.bytes);
    }
}

}  // namespace
}  // namespace tarvelin
