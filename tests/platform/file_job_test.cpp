#include "platform/file_job.h"

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include "file_job_fixture.h"

namespace tarvelin {
namespace {

using test::ScriptedJobHost;
using test::TempFolder;
using test::tree;
using Tree = std::set<std::string>;

TrashSettings trashIn(const std::string& folder) {
    return {folder + "Trash", ::getuid(), [] { return std::time_t{1700000000}; }};
}

FileJobOutcome runJob(FileOperation op, std::vector<std::string> sources, std::string destination,
                      ScriptedJobHost& host, const std::string& trashHome = "/nonexistent/") {
    FileJob job({op, std::move(sources), std::move(destination)}, host, trashIn(trashHome));
    return job.run();
}

TEST(FileJob, CopyKeepsBytesModeAndTimeAndLeavesNoTemporaryName) {
    TempFolder dir;
    std::filesystem::create_directories(dir.file("src/sub/deeper"));
    std::filesystem::create_directories(dir.file("dst"));
    dir.write("src/a.txt", "alpha");
    dir.write("src/sub/b.bin", std::string("\0\x01\xff", 3));
    dir.write("src/sub/deeper/c", "");
    ASSERT_EQ(::chmod(dir.file("src/a.txt").c_str(), 0751), 0);
    ASSERT_EQ(::chmod(dir.file("src/sub/b.bin").c_str(), 0666), 0);  // bits the creation mask takes away
    const struct timespec times[2] = {{1000000000, 0}, {1234567890, 500}};
    ASSERT_EQ(::utimensat(AT_FDCWD, dir.file("src/a.txt").c_str(), times, 0), 0);
    ASSERT_EQ(::symlink("a.txt", dir.file("src/link").c_str()), 0);

    ScriptedJobHost host;
    const auto outcome = runJob(FileOperation::Copy, {dir.file("src")}, dir.file("dst"), host);
    EXPECT_TRUE(outcome.complete());
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(tree(dir.file("dst")), (Tree{"src/", "src/a.txt=alpha", "src/link=alpha", "src/sub/",
                                           "src/sub/b.bin=" + std::string("\0\x01\xff", 3), "src/sub/deeper/",
                                           "src/sub/deeper/c="}));
    EXPECT_EQ(tree(dir.file("src")).size(), 6u);  // the source is untouched
    struct stat st;
    ASSERT_EQ(::stat(dir.file("dst/src/a.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0751u);
    EXPECT_EQ(st.st_mtim.tv_sec, 1234567890);
    EXPECT_EQ(st.st_mtim.tv_nsec, 500);
    ASSERT_EQ(::stat(dir.file("dst/src/sub/b.bin").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0666u);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("dst/src/link")));
    EXPECT_EQ(host.last.itemsDone, 4u);
    EXPECT_EQ(host.last.itemsTotal, 4u);
    EXPECT_EQ(host.last.bytesDone, 8u);
    EXPECT_EQ(host.last.bytesTotal, 8u);
}

TEST(FileJob, ConflictAnswers) {
    struct Case {
        const char* name;
        std::deque<ConflictAnswer> answers;
        Tree expected;  // of dst after copying a.txt and b.txt, both already there
        bool cancelled;
    };
    using C = ConflictChoice;
    const Case cases[] = {
        {"overwrite, skip", {{C::Overwrite, false}, {C::Skip, false}}, {"a.txt=new a", "b.txt=old b"}, false},
        {"rename both",
         {{C::Rename, false}, {C::Rename, false}},
         {"a.txt=old a", "a (2).txt=new a", "b.txt=old b", "b (2).txt=new b"},
         false},
        {"overwrite all", {{C::Overwrite, true}}, {"a.txt=new a", "b.txt=new b"}, false},
        {"skip all", {{C::Skip, true}}, {"a.txt=old a", "b.txt=old b"}, false},
        {"cancel", {{C::Cancel, false}}, {"a.txt=old a", "b.txt=old b"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        std::filesystem::create_directories(dir.file("dst"));
        dir.write("a.txt", "new a");
        dir.write("b.txt", "new b");
        dir.write("dst/a.txt", "old a");
        dir.write("dst/b.txt", "old b");
        ScriptedJobHost host;
        host.conflictAnswers = c.answers;
        const auto outcome =
            runJob(FileOperation::Copy, {dir.file("a.txt"), dir.file("b.txt")}, dir.file("dst"), host);
        EXPECT_EQ(tree(dir.file("dst")), c.expected);
        EXPECT_EQ(outcome.cancelled, c.cancelled);
        EXPECT_TRUE(host.conflictAnswers.empty());
        EXPECT_EQ(host.calls.front(), "conflict " + dir.file("a.txt") + " -> " + dir.file("dst/a.txt") +
                                          " | " + dir.file("dst/a (2).txt"));
    }
}

TEST(FileJob, FreeNamesCountPastTakenOnesAndKeepFoldersWhole) {
    EXPECT_EQ(numberedName("report.doc", false, 2), "report (2).doc");
    EXPECT_EQ(numberedName("archive.tar.gz", false, 3), "archive.tar (3).gz");
    EXPECT_EQ(numberedName(".profile", false, 2), ".profile (2)");
    EXPECT_EQ(numberedName("v1.2", true, 2), "v1.2 (2)");
    TempFolder dir;
    std::filesystem::create_directories(dir.file("dst"));
    dir.write("x.txt", "new");
    dir.write("dst/x.txt", "1");
    dir.write("dst/x (2).txt", "2");
    ScriptedJobHost host;
    host.conflictAnswers = {{ConflictChoice::Rename, false}};
    runJob(FileOperation::Copy, {dir.file("x.txt")}, dir.file("dst"), host);
    EXPECT_EQ(tree(dir.file("dst")), (Tree{"x.txt=1", "x (2).txt=2", "x (3).txt=new"}));
}

TEST(FileJob, LongNamesAreCutAtACharacterKeepingTheExtension) {
    std::string a, cp932;  // "あ" x 81 in UTF-8, x 124 in CP932
    for (int i = 0; i < 124; ++i) cp932 += "\x82\xa0", a += i < 81 ? "\xe3\x81\x82" : "";
    EXPECT_EQ(numberedName(cp932 + ".txt", false, 2), cp932.substr(0, 247) + " (2).txt");
    TempFolder dir;  // in the trash, ".trashinfo" must fit too
    dir.write(a + ".txt", "");
    EXPECT_EQ(Trash(trashIn(dir.path())).moveToTrash(dir.file(a + ".txt")).trashedPath,
              dir.file("Trash/files/" + a.substr(0, 240) + ".txt"));
}

TEST(FileJob, FolderIntoItselfIsRefusedBeforeAnything) {
    for (const auto op : {FileOperation::Copy, FileOperation::Move}) {
        for (const char* into : {"f", "f/sub"}) {
            TempFolder dir;
            std::filesystem::create_directories(dir.file("f/sub"));
            dir.write("other.txt", "o");
            dir.write("f/x", "x");
            ScriptedJobHost host;
            // The file listed first must not be copied either.
            const auto outcome = runJob(op, {dir.file("other.txt"), dir.file("f")}, dir.file(into), host);
            EXPECT_TRUE(outcome.refused);
            const std::string verb = op == FileOperation::Copy ? "コピー" : "移動";
            EXPECT_EQ(host.calls, std::vector<std::string>{"refuse フォルダ " + dir.file("f") +
                                                           " をそのフォルダ自身の中へ" + verb +
                                                           "することはできません。"});
            EXPECT_EQ(tree(dir.path()), (Tree{"f/", "f/sub/", "f/x=x", "other.txt=o"}));
        }
    }
}

TEST(FileJob, MoveWithinAVolumeRenamesAndMergesFolders) {
    TempFolder dir;
    std::filesystem::create_directories(dir.file("src/f/inner"));
    std::filesystem::create_directories(dir.file("dst/f"));
    dir.write("src/f/inner/a", "a");
    dir.write("src/f/b", "b");
    dir.write("dst/f/kept", "k");
    dir.write("src/g", "g");
    struct stat before;
    ASSERT_EQ(::stat(dir.file("src/f/b").c_str(), &before), 0);
    ScriptedJobHost host;
    const auto outcome =
        runJob(FileOperation::Move, {dir.file("src/f"), dir.file("src/g")}, dir.file("dst"), host);
    EXPECT_TRUE(outcome.complete());
    EXPECT_EQ(tree(dir.file("src")), Tree{});
    EXPECT_EQ(tree(dir.file("dst")), (Tree{"f/", "f/inner/", "f/inner/a=a", "f/b=b", "f/kept=k", "g=g"}));
    struct stat after;
    ASSERT_EQ(::stat(dir.file("dst/f/b").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);  // renamed, not copied
}

TEST(FileJob, ErrorsNameThePathAndTheReasonAndSkipGoesOn) {
    TempFolder dir;
    for (const char* folder : {"dst", "locked"}) std::filesystem::create_directories(dir.file(folder));
    dir.write("b.txt", "b");
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0644), 0);
    ::mknod(dir.file("null").c_str(), S_IFCHR | 0600, 0x103);     // as root: a device like /dev/null (1, 3)
    const int opens = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);  // neither may be opened at all
    for (const char* name : {"pipe", "null"}) ::inotify_add_watch(opens, dir.file(name).c_str(), IN_OPEN);
    for (const auto& [name, mode] : {std::pair{"", 0777}, {"dst", 0777}, {"locked", 0}})
        ::chmod(dir.file(name).c_str(), static_cast<mode_t>(mode));
    const uid_t uid = ::geteuid();  // root reads any folder: the job runs as nobody
    ASSERT_EQ(::seteuid(uid == 0 ? 65534 : uid), 0);
    ScriptedJobHost host;
    host.errorAnswers = {ErrorChoice::Skip, ErrorChoice::Skip, ErrorChoice::Skip};
    const auto outcome = runJob(
        FileOperation::Copy, {dir.file("gone.txt"), dir.file("pipe"), dir.file("locked"), dir.file("b.txt")},
        dir.file("dst"), host);
    ASSERT_EQ(::seteuid(uid), 0);
    copyRegularFile(dir.file("null"), dir.file("dst/null"), {});
    char event[64];
    EXPECT_EQ(::read(opens, event, sizeof event), -1);
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{
                  "error " + dir.file("gone.txt") +
                      " をコピーできませんでした。\nファイルまたはフォルダが見つかりません。",
                  "error " + dir.file("pipe") +
                      " をコピーできませんでした。\n通常のファイルでもフォルダでもありません。",
                  "error " + dir.file("locked") + " をコピーできませんでした。\nアクセスが拒否されました。",
              }));
    EXPECT_EQ(outcome.failed, 3);
    EXPECT_FALSE(outcome.complete());
    EXPECT_EQ(tree(dir.file("dst")), Tree{"b.txt=b"});

    // キャンセル stops there.
    ScriptedJobHost cancelling;
    cancelling.errorAnswers = {ErrorChoice::Cancel};
    std::filesystem::remove(dir.file("dst/b.txt"));
    EXPECT_TRUE(
        runJob(FileOperation::Copy, {dir.file("gone.txt"), dir.file("b.txt")}, dir.file("dst"), cancelling)
            .cancelled);
    EXPECT_EQ(tree(dir.file("dst")), Tree{});
}

TEST(FileJob, CancelStopsInsideAFileAndLeavesNoPart) {
    TempFolder dir;
    std::filesystem::create_directories(dir.file("dst"));
    dir.write("big", std::string(20 << 20, 'x'));
    dir.write("small", "s");
    ScriptedJobHost host;
    FileJob job({FileOperation::Copy, {dir.file("small"), dir.file("big")}, dir.file("dst")}, host,
                trashIn(dir.path()));
    host.onProgress = [&](const FileJobProgress& p) {
        if (p.bytesDone > 1) job.cancel();
    };
    const auto outcome = job.run();
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(tree(dir.file("dst")), Tree{"small=s"});
    EXPECT_EQ(std::filesystem::file_size(dir.file("big")), 20u << 20);
}

TEST(FileJob, RenameRefusesExistingNamesAndSlashes) {
    struct Case {
        const char* target;
        std::string call;  // empty: renamed
    };
    const Case cases[] = {
        {"summary.doc", ""},
        {".doc", ""},
        {"taken.doc", "refuse {dir}taken.doc は既にあります。名前を変更できません。"},
        {"a/b.doc", "refuse 「a/b.doc」はファイル名に使えません。"},
        {"", "refuse 「」はファイル名に使えません。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        TempFolder dir;
        std::filesystem::create_directories(dir.file("a"));
        dir.write("report.doc", "r");
        dir.write("taken.doc", "t");
        ScriptedJobHost host;
        runJob(FileOperation::Rename, {dir.file("report.doc")}, dir.file(c.target), host);
        std::string expected = c.call;
        if (const auto at = expected.find("{dir}"); at != std::string::npos)
            expected.replace(at, 5, dir.path());
        if (expected.empty()) {
            EXPECT_TRUE(host.calls.empty());
            EXPECT_EQ(dir.read(c.target), "r");
            EXPECT_FALSE(dir.exists("report.doc"));
        } else {
            EXPECT_EQ(host.calls, std::vector<std::string>{expected});
            EXPECT_EQ(tree(dir.path()), (Tree{"a/", "report.doc=r", "taken.doc=t"}));
        }
    }
}

TEST(FileJob, MakeFolderCreatesTheMissingFoldersOnItsPathAndFailsSilently) {
    struct Case {
        const char* typed;
        Tree after;
        bool complete;
    };
    const Case cases[] = {
        {"a/b", {"a/", "a/b/", "file=f", "old/"}, true},
        {"old", {"file=f", "old/"}, true},                            // already there: nothing changes
        {"", {"file=f", "old/"}, true},                               // the selected folder itself
        {"file/x", {"file=f", "old/"}, false},                        // a file in the way
        {"old/\x8e\x91", {"file=f", "old/", "old/\x8e\x91/"}, true},  // bytes kept
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        TempFolder dir;
        std::filesystem::create_directories(dir.file("old"));
        dir.write("file", "f");
        ScriptedJobHost host;
        const FileJobOutcome outcome = runJob(FileOperation::MakeFolder, {}, dir.path() + c.typed, host);
        EXPECT_TRUE(host.calls.empty());
        EXPECT_EQ(outcome.complete(), c.complete);
        EXPECT_EQ(tree(dir.path()), c.after);
    }
}

TEST(FileJob, NonUtf8NamesAreCopiedAndTrashedIntact) {
    TempFolder dir;
    std::filesystem::create_directories(dir.file("dst"));
    const std::string name = "\x8e\x91\x97\xbf.txt";  // CP932 bytes
    dir.write(name, "cp932");
    ScriptedJobHost host;
    EXPECT_TRUE(runJob(FileOperation::Copy, {dir.file(name)}, dir.file("dst"), host).complete());
    EXPECT_EQ(dir.read("dst/" + name), "cp932");

    ::setenv("TZ", "UTC", 1);
    ::tzset();
    host.confirmAnswers = {true};
    EXPECT_TRUE(runJob(FileOperation::Delete, {dir.file("dst/" + name)}, {}, host, dir.path()).complete());
    EXPECT_EQ(dir.read("Trash/files/" + name), "cp932");
    EXPECT_EQ(
        dir.read("Trash/info/" + name + ".trashinfo"),
        "[Trash Info]\nPath=" + dir.path() + "dst/%8E%91%97%BF.txt\nDeletionDate=2023-11-14T22:13:20\n");
}

TEST(FileJob, TrashAsksOnceThenMovesInListOrderAndNumbersRepeatedNames) {
    TempFolder dir;
    std::filesystem::create_directories(dir.file("x"));
    dir.write("x/a.txt", "1");
    dir.write("a.txt", "2");
    dir.write("b.txt", "3");
    ScriptedJobHost refusing;
    refusing.confirmAnswers = {false};
    const std::vector<std::string> sources{dir.file("x/a.txt"), dir.file("a.txt"), dir.file("b.txt")};
    EXPECT_TRUE(runJob(FileOperation::Delete, sources, {}, refusing, dir.path()).cancelled);
    EXPECT_EQ(refusing.calls, std::vector<std::string>{"confirm 3 個の項目をごみ箱に移動しますか?"});
    EXPECT_TRUE(dir.exists("a.txt"));

    ScriptedJobHost host;
    host.confirmAnswers = {true};
    EXPECT_TRUE(runJob(FileOperation::Delete, sources, {}, host, dir.path()).complete());
    EXPECT_EQ(tree(dir.file("Trash/files")), (Tree{"a.txt=1", "a.txt.2=2", "b.txt=3"}));
    EXPECT_NE(
        test::readAll(dir.file("Trash/info/a.txt.2.trashinfo")).find("\nPath=" + dir.file("a.txt") + "\n"),
        std::string::npos);
    EXPECT_EQ(tree(dir.path()).count("a.txt=2"), 0u);

    ScriptedJobHost one;
    one.confirmAnswers = {false};
    runJob(FileOperation::Delete, {dir.file("x")}, {}, one, dir.path());
    EXPECT_EQ(one.calls, std::vector<std::string>{"confirm 「x」をごみ箱に移動しますか?"});
}

}  // namespace
}  // namespace tarvelin
