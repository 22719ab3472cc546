#include "browser/file_list.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "browser/folder_entries.h"
#include "browser/folder_listing.h"
#include "browser/folder_tree.h"
#include "browser/name_case.h"
#include "browser/startup_folder.h"
#include "platform/item_path.h"
#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using test::TempFolder;
using Names = std::vector<std::string>;

void makeFolder(const TempFolder& folder, const std::string& name) {
    std::filesystem::create_directory(folder.file(name));
}

TEST(FolderListing, PlainVisibleFilesSortedWithoutCase) {
    TempFolder folder;
    for (const char* name : {"b.txt", "C.doc", "a.TXT", "_x", ".hidden.txt", ".profile"})
        folder.write(name, "x");
    makeFolder(folder, "dir.txt");
    makeFolder(folder, "A folder");
    ASSERT_EQ(::symlink("b.txt", folder.file("link-to-file").c_str()), 0);
    ASSERT_EQ(::symlink("dir.txt", folder.file("link-to-folder").c_str()), 0);
    ASSERT_EQ(::symlink("missing", folder.file("dangling").c_str()), 0);
    ASSERT_EQ(::mkfifo(folder.file("pipe").c_str(), 0600), 0);

    const FolderListing listing = listFolderFiles(folder.path(), FileMask("*.*"));
    EXPECT_EQ(listing.error, 0);
    EXPECT_EQ(listing.names, (Names{"_x", "a.TXT", "b.txt", "C.doc", "link-to-file"}));
}

TEST(FolderListing, PatternsInAnyOrderGiveOneSortedListWithRepeats) {
    TempFolder folder;
    for (const char* name : {"b.doc", "a.txt", "c.xls", "B.TXT", "readme"}) folder.write(name, "x");
    const struct {
        const char* mask;
        Names names;
    } cases[] = {
        {"*.txt;*.doc", {"a.txt", "b.doc", "B.TXT"}},
        {"*.doc;*.txt", {"a.txt", "b.doc", "B.TXT"}},
        {"*.txt;a*", {"a.txt", "a.txt", "B.TXT"}},
        {"*.", {"readme"}},
        {"*.html", {}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(listFolderFiles(folder.path(), FileMask(c.mask)).names, c.names) << c.mask;
}

TEST(FolderListing, KeepsNamesThatAreNotUtf8AsTheirBytes) {
    TempFolder folder;
    const std::string cp932 = "\x8e\x91\x97\xbf.txt";  // 資料.txt written on Windows
    folder.write(cp932, "x");
    folder.write("資料.TXT", "x");
    folder.write("z.txt", "x");

    const FolderListing listing = listFolderFiles(folder.path(), FileMask("*.txt"));
    EXPECT_EQ(listing.error, 0);
    // Bytes above 0x7F sort after ASCII; the CP932 lead byte 0x8E before UTF-8's 0xE8.
    EXPECT_EQ(listing.names, (Names{"z.txt", cp932, "資料.TXT"}));
}

TEST(FolderListing, UnreadableFolderGivesItsErrorAndNoNames) {
    TempFolder folder;
    folder.write("file", "x");
    const FolderListing missing = listFolderFiles(folder.file("missing"), FileMask("*.*"));
    EXPECT_EQ(missing.error, ENOENT);
    EXPECT_TRUE(missing.names.empty());
    EXPECT_EQ(listFolderFiles(folder.file("file"), FileMask("*.*")).error, ENOTDIR);
}

TEST(FolderListing, TheTreeAndTheListShareOneReadingOfAFolderOnlyWhileAskedTo) {
    TempFolder folder;
    folder.write("a.txt", "x");
    makeFolder(folder, "sub");
    const auto readTwice = [&] {
        const Names folders = listSubfolders(folder.path(), true);
        folder.write("b.txt", "x");  // comes between the two readings
        makeFolder(folder, "sub2");
        Names seen = listFolderFiles(folder.path(), FileMask("*.*")).names;
        seen.insert(seen.begin(), folders.begin(), folders.end());
        std::filesystem::remove(folder.file("b.txt"));
        std::filesystem::remove(folder.file("sub2"));
        return seen;
    };
    {
        const SharedFolderReading shared;
        EXPECT_EQ(readTwice(), (Names{"sub", "a.txt"}));
        // Another folder in between replaces the kept reading.
        EXPECT_EQ(listFolderFiles(folder.file("sub"), FileMask("*.*")).names, Names{});
        folder.write("c.txt", "x");
        EXPECT_EQ(listFolderFiles(folder.path(), FileMask("*.*")).names, (Names{"a.txt", "c.txt"}));
    }
    EXPECT_EQ(readTwice(), (Names{"sub", "a.txt", "b.txt", "c.txt"}));
}

TEST(ItemPath, OneSeparatorAlsoAtTheRoot) {
    EXPECT_EQ(itemPath("/", "vmlinuz"), "/vmlinuz");
    EXPECT_EQ(itemPath("/home/u", "a.txt"), "/home/u/a.txt");
    EXPECT_EQ(itemPath("/home/u/", "a.txt"), "/home/u/a.txt");
    EXPECT_EQ(normaliseFolder("/"), "/");
    EXPECT_EQ(normaliseFolder("//"), "/");
    EXPECT_EQ(normaliseFolder("/home/u//"), "/home/u");
    EXPECT_EQ(normaliseFolder("/home/u"), "/home/u");
}

TEST(FileList, StartsEmptyWithAllFilesMask) {
    const FileList list;
    EXPECT_EQ(list.mask(), "*.*");
    EXPECT_EQ(list.folder(), "");
    EXPECT_EQ(list.size(), 0u);
}

TEST(FileList, ShowsAFolderOnceAndRereadsOnlyOnChange) {
    TempFolder folder;
    folder.write("b.txt", "x");
    folder.write("a.doc", "x");
    FileList list;
    EXPECT_TRUE(list.showFolder(folder.path()));  // given with its trailing "/"
    const std::string shown = folder.path().substr(0, folder.path().size() - 1);
    EXPECT_EQ(list.folder(), shown);
    EXPECT_EQ(list.items(), (Names{"a.doc", "b.txt"}));

    // The same folder again keeps what was read: a file created since does not appear.
    folder.write("c.txt", "x");
    EXPECT_FALSE(list.showFolder(shown));
    EXPECT_FALSE(list.showFolder(folder.path()));
    EXPECT_EQ(list.items(), (Names{"a.doc", "b.txt"}));

    // An equal mask re-reads nothing; a mask differing only in case is another mask.
    EXPECT_FALSE(list.setMask("*.*"));
    EXPECT_EQ(list.size(), 2u);
    EXPECT_TRUE(list.setMask("*.TXT"));
    EXPECT_EQ(list.mask(), "*.TXT");
    EXPECT_EQ(list.items(), (Names{"b.txt", "c.txt"}));

    list.reread();
    EXPECT_EQ(list.items(), (Names{"b.txt", "c.txt"}));
    EXPECT_EQ(list.itemPath(1), shown + "/c.txt");
}

TEST(FileList, FoldersDifferingInCaseAreTwoFolders) {
    TempFolder folder;
    makeFolder(folder, "Docs");
    makeFolder(folder, "docs");
    folder.write("Docs/upper.txt", "x");
    folder.write("docs/lower.txt", "x");
    FileList list;
    list.showFolder(folder.file("Docs"));
    EXPECT_EQ(list.items(), Names{"upper.txt"});
    EXPECT_TRUE(list.showFolder(folder.file("docs")));
    EXPECT_EQ(list.items(), Names{"lower.txt"});
}

TEST(FileList, VanishedFolderEmptiesTheListAndRecovers) {
    TempFolder folder;
    makeFolder(folder, "work");
    folder.write("work/a.txt", "x");
    FileList list;
    list.showFolder(folder.file("work"));
    ASSERT_EQ(list.size(), 1u);

    std::filesystem::remove_all(folder.file("work"));
    list.reread();
    EXPECT_EQ(list.size(), 0u);
    EXPECT_EQ(list.readError(), ENOENT);
    EXPECT_EQ(list.folder(), folder.file("work"));
    EXPECT_EQ(list.filePath(0, true), "");

    makeFolder(folder, "work");
    folder.write("work/b.txt", "x");
    list.reread();
    EXPECT_EQ(list.readError(), 0);
    EXPECT_EQ(list.items(), Names{"b.txt"});

    // A node that is no file-system folder shows nothing.
    EXPECT_TRUE(list.showFolder(""));
    EXPECT_EQ(list.size(), 0u);
    EXPECT_EQ(list.readError(), 0);
}

TEST(FileList, FilePathIsTheFocusedItemOnlyWhenSelected) {
    TempFolder folder;
    const std::string cp932 = "\x8e\x91\x97\xbf.txt";
    folder.write(cp932, "x");
    folder.write("a.txt", "x");
    FileList list;
    list.showFolder(folder.path());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.filePath(1, true), folder.file(cp932));
    EXPECT_EQ(list.filePath(0, true), folder.file("a.txt"));
    EXPECT_EQ(list.filePath(1, false), "");
    EXPECT_EQ(list.filePath(-1, true), "");
    EXPECT_EQ(list.filePath(2, true), "");
}

// Names read in batches, each sorted, end up where one sorted listing puts them, whether placed run by run
// or merged: letter case, names sharing a start, Latin-1 and Japanese names, bytes that are not UTF-8.
TEST(FileList, BatchesOfNamesTakeTheirSortedPlaces) {
    // clang-format off
    const Names all = {"b.txt", "A.doc", "Z_1", "z-2", "_x", "\xc3\x89t\xc3\xa9", "\xc3\xa9z",
                       "\x8e\x91\x97\xbf.txt", "資料.txt", "a.DOC", "a.doc", "report_10", "Report_9", "a"};
    // clang-format on
    Names sorted = all;
    sortWithoutCase(sorted);
    for (const size_t batches : {1, 2, 3, 5}) {
        for (const bool merged : {false, true}) {
            FileList list;
            list.startReading("/any", "*.*");
            for (size_t b = 0; b < batches; ++b) {
                Names batch;
                for (size_t i = b; i < all.size(); i += batches) batch.push_back(all[i]);
                sortWithoutCase(batch);
                if (merged) {
                    list.merge(std::move(batch));
                    continue;
                }
                const std::vector<FileList::Run> runs = list.insertionRuns(batch);
                for (auto run = runs.rbegin(); run != runs.rend(); ++run) list.insert(*run, batch);
            }
            EXPECT_EQ(list.items(), sorted) << batches << (merged ? " merged" : " run by run");
        }
    }
}

}  // namespace
}  // namespace tarvelin

namespace tarvelin {
namespace {

// The start-up reading answers the first listing and the first reading of its folder once it has finished,
// each once; a file made after it was taken shows from the next reading on.
TEST(StartupFolderReading, AnswersTheFirstReadingsOfItsFolderOnce) {
    TempFolder folder, other;
    folder.write("b.txt", "x");
    folder.write("A.doc", "x");
    other.write("o.txt", "x");
    const auto fileCount = [](const FolderEntries& read) {
        return std::count_if(read.entries.begin(), read.entries.end(),
                             [](const FolderEntry& e) { return e.kind == EntryKind::File; });
    };
    {
        const StartupFolderReading reading(folder.path());  // with its trailing "/": the same folder
        while (!reading.finished()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_FALSE(takeStartupListing(folder.path(), "*.txt"))
            << "only the mask of all files is read ahead";
        EXPECT_EQ(takeStartupEntries(other.path()), nullptr);
        FileList list;
        list.showFolder(folder.path());
        EXPECT_EQ(list.items(), (Names{"A.doc", "b.txt"}));
        EXPECT_FALSE(takeStartupListing(folder.path(), "*.*")) << "taken once";

        folder.write("c.txt", "x");
        EXPECT_EQ(fileCount(*readFolderEntries(folder.path())), 2) << "read before c.txt was made";
        EXPECT_EQ(fileCount(*readFolderEntries(folder.path())), 3) << "from the disk again";
        list.reread();
        EXPECT_EQ(list.size(), 3u);
    }
    // Gone, and never taken: nothing waits, nothing answers.
    { const StartupFolderReading untaken(other.path()); }
    EXPECT_EQ(takeStartupEntries(other.path()), nullptr);
}

TEST(StartupFolderReading, AnswersTheEntriesAsSoonAsReadAndTheListingSortedEitherWay) {
    TempFolder folder;
    for (int i = 0; i < 5000; ++i) folder.write("f" + std::to_string(i) + ".txt", "");
    const StartupFolderReading reading(folder.path());
    // Asked at once, while the helper reads: the asker waits for its entries instead of reading them again.
    const std::shared_ptr<const FolderEntries> entries = takeStartupEntries(folder.path());
    ASSERT_TRUE(entries);
    EXPECT_EQ(entries->entries.size(), 5000u);
    // Most often asked before the helper has sorted: the asker sorts the same entries.
    const std::optional<FolderListing> listing = takeStartupListing(folder.path(), "*.*");
    ASSERT_TRUE(listing);
    EXPECT_EQ(listing->names, listFolderFiles(folder.path(), FileMask("*.*")).names);
    EXPECT_FALSE(takeStartupListing(folder.path(), "*.*")) << "taken once";
    EXPECT_EQ(takeStartupEntries(folder.path()), nullptr) << "taken once";
}

}  // namespace
}  // namespace tarvelin
