// Jobs across volumes: a tmpfs mounted for the test stands for another disk (and a full one).
#include <sys/stat.h>
#include <unistd.h>

#include "file_job_fixture.h"

namespace tarvelin {
namespace {

using test::ScriptedJobHost;
using test::TempFolder;
using test::TmpfsMount;
using test::tree;
using Tree = std::set<std::string>;

#define REQUIRE_MOUNT(m) \
    if (!(m).mounted()) GTEST_SKIP() << "mounting a tmpfs needs root; this case runs only there"

TrashSettings trashIn(const std::string& folder) {
    return {folder + "Trash", ::getuid(), [] { return std::time_t{1700000000}; }};
}

TEST(FileJobVolumes, MoveAcrossKeepsEachFolderUntilItsCopyIsComplete) {
    TempFolder dir;
    TmpfsMount other(dir.file("other"), "8m");
    REQUIRE_MOUNT(other);
    std::filesystem::create_directories(dir.file("src/f/sub"));
    dir.write("src/f/a", std::string(100000, 'a'));
    dir.write("src/f/b", "b");
    dir.write("src/f/sub/c", "c");
    dir.write("src/loose", "l");
    const Tree sourceTree = tree(dir.file("src/f"));

    ScriptedJobHost host;
    FileJob job({FileOperation::Move, {dir.file("src/f"), dir.file("src/loose")}, other.path()}, host,
                trashIn(dir.path()));
    int checks = 0;
    host.onProgress = [&](const FileJobProgress& p) {
        // While anything of f/ (outside sub/) is on its way, all of f's own files are still in place.
        if (p.current.starts_with(dir.file("src/f/")) && !p.current.starts_with(dir.file("src/f/sub/"))) {
            ++checks;
            EXPECT_TRUE(dir.exists("src/f/a"));
            EXPECT_TRUE(dir.exists("src/f/b"));
        }
    };
    EXPECT_TRUE(job.run().complete());
    EXPECT_GT(checks, 0);
    EXPECT_FALSE(dir.exists("src/f"));
    EXPECT_FALSE(dir.exists("src/loose"));
    EXPECT_EQ(tree(other.path() + "/f"), sourceTree);
    EXPECT_EQ(test::readAll(other.path() + "/loose"), "l");
}

TEST(FileJobVolumes, FullVolumeNamesThePathAndKeepsEverySource) {
    for (const auto op : {FileOperation::Copy, FileOperation::Move}) {
        TempFolder dir;
        TmpfsMount small(dir.file("small"), "256k");
        REQUIRE_MOUNT(small);
        std::filesystem::create_directories(dir.file("src/f"));
        dir.write("src/f/1.bin", std::string(100000, '1'));
        dir.write("src/f/2.bin", std::string(100000, '2'));
        dir.write("src/f/3.bin", std::string(100000, '3'));
        const Tree sourceTree = tree(dir.file("src"));
        ScriptedJobHost host;
        host.errorAnswers = {ErrorChoice::Cancel};
        FileJob job({op, {dir.file("src/f")}, small.path()}, host, trashIn(dir.path()));
        const auto outcome = job.run();
        EXPECT_TRUE(outcome.cancelled);
        ASSERT_EQ(host.calls.size(), 1u);
        const std::string verb = op == FileOperation::Copy ? "コピー" : "移動";
        const std::string reason = "できませんでした。\nディスクの空き領域が足りません。";
        const std::string& call = host.calls.front();
        EXPECT_TRUE(call.starts_with("error " + small.path() + "/f/") &&
                    call.ends_with(" を" + verb + reason))
            << call;
        EXPECT_EQ(tree(dir.file("src")), sourceTree);
        // Only whole files arrived.
        for (const auto& entry : tree(small.path()))
            EXPECT_TRUE(entry == "f/" || entry == "f/1.bin=" + std::string(100000, '1') ||
                        entry == "f/2.bin=" + std::string(100000, '2') ||
                        entry == "f/3.bin=" + std::string(100000, '3'))
                << entry.substr(0, 20);
    }
}

TEST(FileJobVolumes, TrashOnAnotherVolumeUsesItsOwnTrashOrAsksToDeleteForGood) {
    TempFolder dir;
    TmpfsMount vol(dir.file("vol"), "1m");
    REQUIRE_MOUNT(vol);
    std::filesystem::create_directories(vol.path() + "/docs");
    { std::ofstream(vol.path() + "/docs/memo.txt") << "m"; }
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    ScriptedJobHost host;
    host.confirmAnswers = {true};
    FileJob job({FileOperation::Delete, {vol.path() + "/docs/memo.txt"}, {}}, host, trashIn(dir.path()));
    EXPECT_TRUE(job.run().complete());
    const std::string trash = vol.path() + "/.Trash-" + std::to_string(::getuid());
    EXPECT_EQ(test::readAll(trash + "/files/memo.txt"), "m");
    EXPECT_EQ(test::readAll(trash + "/info/memo.txt.trashinfo"),
              "[Trash Info]\nPath=docs/memo.txt\nDeletionDate=2023-11-14T22:13:20\n");
    EXPECT_FALSE(dir.exists("Trash/files/memo.txt"));

    // A volume whose trash cannot be made: the user is asked before anything is deleted for good.
    TmpfsMount bare(dir.file("bare"), "1m");
    {
        std::ofstream(bare.path() + "/.Trash-" + std::to_string(::getuid())) << "not a folder";
        std::ofstream(bare.path() + "/keep") << "k";
        std::ofstream(bare.path() + "/drop") << "d";
    }
    ScriptedJobHost asking;
    asking.confirmAnswers = {true, false, true};
    FileJob twice({FileOperation::Delete, {bare.path() + "/keep", bare.path() + "/drop"}, {}}, asking,
                  trashIn(dir.path()));
    const auto outcome = twice.run();
    EXPECT_EQ(outcome.skipped, 1);
    EXPECT_EQ(
        asking.calls,
        (std::vector<std::string>{
            "confirm 2 個の項目をごみ箱に移動しますか?",
            "confirm " + bare.path() +
                "/keep のあるボリュームにはごみ箱がありません。\n元に戻せませんが、完全に削除しますか?",
            "confirm " + bare.path() +
                "/drop のあるボリュームにはごみ箱がありません。\n元に戻せませんが、完全に削除しますか?"}));
    EXPECT_TRUE(std::filesystem::exists(bare.path() + "/keep"));
    EXPECT_FALSE(std::filesystem::exists(bare.path() + "/drop"));
}

}  // namespace
}  // namespace tarvelin
