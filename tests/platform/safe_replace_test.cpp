#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/file_io.h"
#include "support/child_process.h"
#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using test::kNobody;
using test::runInChild;
using test::TempFolder;

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

struct stat statOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st;
}

std::string attribute(const std::string& path, const char* name) {
    char value[256];
    const ssize_t n = ::getxattr(path.c_str(), name, value, sizeof value);
    return n < 0 ? "<none>" : std::string(value, static_cast<size_t>(n));
}

// An access ACL granting user 1234 read access beside the owner's read and write.
std::string aclBytes() {
    std::string acl("\x02\x00\x00\x00", 4);
    const auto entry = [&](uint16_t tag, uint16_t perm, uint32_t id) {
        for (int i = 0; i < 2; ++i) acl.push_back(static_cast<char>(tag >> (8 * i)));
        for (int i = 0; i < 2; ++i) acl.push_back(static_cast<char>(perm >> (8 * i)));
        for (int i = 0; i < 4; ++i) acl.push_back(static_cast<char>(id >> (8 * i)));
    };
    entry(0x01, 6, 0xFFFFFFFF);  // owner
    entry(0x02, 4, 1234);        // user 1234
    entry(0x04, 4, 0xFFFFFFFF);  // group
    entry(0x10, 4, 0xFFFFFFFF);  // mask
    entry(0x20, 0, 0xFFFFFFFF);  // others
    return acl;
}

// Root runs the parts that need an ordinary user's permissions as `nobody`, on files given to it.
uid_t testUser() {
    return ::geteuid() == 0 ? kNobody : ::geteuid();
}
void giveToTestUser(const std::string& path) {
    if (::geteuid() == 0) {
        ASSERT_EQ(::lchown(path.c_str(), kNobody, kNobody), 0);
    }
}

TEST(SafeReplace, RefusesWhatItMayNotReplaceAndLeavesItAlone) {
    struct Case {
        const char* name;
        mode_t mode;      // of the file a.kxd, 0 for a FIFO, 1 for a folder
        bool otherOwner;  // a.kxd belongs to root, the save runs as nobody
    };
    const Case cases[] = {
        {"read-only file", 0444, false},
        {"no permission at all", 0000, false},
        {"FIFO", 0, false},
        {"folder", 1, false},
        {"another owner's file", 0644, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.otherOwner && ::geteuid() != 0) {
            std::cout << "[ SKIPPED  ] " << c.name << ": needs root to make a file of another owner\n";
            continue;
        }
        const TempFolder dir;
        const std::string path = dir.file("a.kxd");
        if (c.mode == 0) {
            ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
        } else if (c.mode == 1) {
            ASSERT_EQ(::mkdir(path.c_str(), 0777), 0);
        } else {
            dir.write("a.kxd", "old");
            ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
        }
        ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
        if (!c.otherOwner) giveToTestUser(path);
        const struct stat before = statOf(path);
        EXPECT_EQ(runInChild([&] { return replaceFileSafely(path, "new") ? 1 : 0; }, 5, testUser()), 0);
        const struct stat after = statOf(path);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_uid, before.st_uid);
        if (S_ISREG(before.st_mode)) {
            ::chmod(path.c_str(), 0600);
            EXPECT_EQ(dir.read("a.kxd"), "old");
        }
        EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"a.kxd"});
    }
}

TEST(SafeReplace, KeepsOwnerGroupModeAttributesAndAcl) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give the file another owner";
    const TempFolder dir;
    const std::string path = dir.file("a.kxd");
    dir.write("a.kxd", "old");
    ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chmod(path.c_str(), 02640), 0);
    const bool xattrs = ::setxattr(path.c_str(), "user.note", "kept", 4, 0) == 0;
    const std::string acl = aclBytes();
    const bool acls = ::setxattr(path.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) == 0;
    if (!xattrs || !acls) std::cout << "[ SKIPPED  ] attributes or ACLs: not on this file system\n";

    ASSERT_TRUE(replaceFileSafely(path, "new"));
    EXPECT_EQ(dir.read("a.kxd"), "new");
    const struct stat st = statOf(path);
    EXPECT_EQ(st.st_uid, kNobody);
    EXPECT_EQ(st.st_gid, kNobody);
    EXPECT_EQ(st.st_mode & 07777, 02640u);
    if (xattrs) {
        EXPECT_EQ(attribute(path, "user.note"), "kept");
    }
    if (acls) {
        EXPECT_EQ(attribute(path, "system.posix_acl_access"), acl);
    }
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"a.kxd"});
}

TEST(SafeReplace, WritesInPlaceWhereARenameWouldMakeAnotherFile) {
    struct Case {
        const char* name;
        mode_t folderMode;
        bool hardLink;    // a second name b.kxd for the file
        bool otherOwner;  // the file belongs to root and grants write to all; the save runs as nobody
        std::set<std::string> names;
    };
    const Case cases[] = {
        {"second hard link", 0755, true, false, {"a.kxd", "b.kxd"}},
        {"writable file in a read-only folder", 0555, false, false, {"a.kxd"}},
        {"another owner's writable file", 0777, false, true, {"a.kxd"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.otherOwner && ::geteuid() != 0) {
            std::cout << "[ SKIPPED  ] " << c.name << ": needs root to make a file of another owner\n";
            continue;
        }
        const TempFolder dir, cache;
        const std::string path = dir.file("a.kxd");
        dir.write("a.kxd", "old content, longer than the new");
        if (c.hardLink) {
            ASSERT_EQ(::link(path.c_str(), dir.file("b.kxd").c_str()), 0);
        }
        ASSERT_EQ(::chmod(path.c_str(), c.otherOwner ? 0666 : 0644), 0);
        if (!c.otherOwner) giveToTestUser(path);
        giveToTestUser(dir.path());
        giveToTestUser(cache.path());
        ASSERT_EQ(::chmod(dir.path().c_str(), c.folderMode), 0);
        const struct stat before = statOf(path);
        ::setenv("XDG_CACHE_HOME", cache.path().c_str(), 1);
        EXPECT_EQ(runInChild([&] { return replaceFileSafely(path, "new") ? 0 : 1; }, 5, testUser()), 0);
        ::unsetenv("XDG_CACHE_HOME");
        ::chmod(dir.path().c_str(), 0755);
        EXPECT_EQ(dir.read("a.kxd"), "new");
        const struct stat after = statOf(path);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_nlink, before.st_nlink);
        if (c.hardLink) {
            EXPECT_EQ(dir.read("b.kxd"), "new");
        }
        EXPECT_EQ(namesIn(dir.path()), c.names);
        // The copy of the old content is gone once the new one is on disk.
        const std::string copies = cache.path() + "Tarvelin2/saving/";
        if (std::filesystem::exists(copies)) {
            EXPECT_TRUE(namesIn(copies).empty());
        }
    }
}

TEST(SafeReplace, FollowsLinksAlsoToTargetsNotYetThere) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links;  // name, target
        std::string target;                                      // what the save must create or replace
    };
    const Case cases[] = {
        {"dangling absolute link", {{"a.kxd", "@sub/t.kxd"}}, "sub/t.kxd"},
        {"dangling relative link", {{"a.kxd", "sub/t.kxd"}}, "sub/t.kxd"},
        {"chain of links", {{"a.kxd", "l2"}, {"l2", "sub/../sub/t.kxd"}}, "sub/t.kxd"},
        {"link into a linked folder", {{"a.kxd", "lsub/t.kxd"}, {"lsub", "sub"}}, "sub/t.kxd"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder dir;
        ASSERT_EQ(::mkdir(dir.file("sub").c_str(), 0755), 0);
        for (const auto& [name, target] : c.links) {
            const std::string to = target.starts_with('@') ? dir.file(target.substr(1)) : target;
            ASSERT_EQ(::symlink(to.c_str(), dir.file(name).c_str()), 0);
        }
        ASSERT_TRUE(replaceFileSafely(dir.file("a.kxd"), "new"));
        EXPECT_EQ(dir.read(c.target), "new");
        for (const auto& [name, target] : c.links) EXPECT_TRUE(std::filesystem::is_symlink(dir.file(name)));
        EXPECT_EQ(namesIn(dir.file("sub")), std::set<std::string>{"t.kxd"});
    }
    const TempFolder dir;
    ASSERT_EQ(::symlink("b", dir.file("a").c_str()), 0);
    ASSERT_EQ(::symlink("a", dir.file("b").c_str()), 0);
    EXPECT_FALSE(replaceFileSafely(dir.file("a"), "new"));
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"a", "b"}));
}

TEST(SafeReplace, RemovesTheLeftoversOfKilledSavesThatNoSaveHolds) {
    struct Case {
        const char* name;
        bool held;  // a running save holds it
        bool kept;
    };
    const Case cases[] = {
        {".a.kxd.tarvelin2-new.Ab3xY9", false, false}, {".a.kxd.tarvelin2-old.000000", false, false},
        {".a.kxd.tarvelin2-new.Held01", true, true},   {".a.kxd.tarvelin2-old.Held02", true, true},
        {".b.kxd.tarvelin2-new.Ab3xY9", false, true},  // another file's
        {".a.kxd.tarvelin2-new.Ab3xY", false, true},   // not our pattern
        {".a.kxd.tarvelin2-new.Ab3x-9", false, true},  // not our pattern
        {"a.kxd.tarvelin2-new.Ab3xY9", false, true},   // not our pattern
    };
    const TempFolder dir;
    dir.write("a.kxd", "old");
    std::vector<int> locks;
    for (const Case& c : cases) {
        dir.write(c.name, "left");
        if (c.held) {
            locks.push_back(::open(dir.file(c.name).c_str(), O_RDONLY | O_CLOEXEC));
            ASSERT_EQ(::flock(locks.back(), LOCK_EX), 0);
        }
    }
    ASSERT_TRUE(replaceFileSafely(dir.file("a.kxd"), "new"));
    EXPECT_EQ(dir.read("a.kxd"), "new");
    for (const Case& c : cases) EXPECT_EQ(dir.exists(c.name), c.kept) << c.name;
    for (int fd : locks) ::close(fd);
}

TEST(SafeReplace, AWriteThatFailsKeepsTheOldContentWhole) {
    // The file size limit makes the write fail part-way, as a full disk does.
    for (const bool hardLink : {false, true}) {
        SCOPED_TRACE(hardLink ? "in place" : "by rename");
        const TempFolder dir;
        const std::string old(1000, 'o');
        dir.write("a.kxd", old);
        if (hardLink) {
            ASSERT_EQ(::link(dir.file("a.kxd").c_str(), dir.file("b.kxd").c_str()), 0);
        }
        const int result = runInChild(
            [&] {
                std::signal(SIGXFSZ, SIG_IGN);
                const struct rlimit limit { 4096, RLIM_INFINITY };
                if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
                return replaceFileSafely(dir.file("a.kxd"), std::string(100'000, 'n')) ? 1 : 0;
            },
            5);
        EXPECT_EQ(result, 0);
        EXPECT_EQ(dir.read("a.kxd"), old);
        const std::set<std::string> names =
            hardLink ? std::set<std::string>{"a.kxd", "b.kxd"} : std::set<std::string>{"a.kxd"};
        EXPECT_EQ(namesIn(dir.path()), names);
    }
}

TEST(ReadRegularFile, RefusesEveryOtherKindWithoutWaiting) {
    const TempFolder dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0666), 0);
    ASSERT_EQ(::mkfifo(dir.file("fed fifo").c_str(), 0666), 0);
    ASSERT_EQ(::symlink(dir.file("fifo").c_str(), dir.file("link to fifo").c_str()), 0);
    ASSERT_EQ(::mkdir(dir.file("folder").c_str(), 0755), 0);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = dir.file("socket");
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    // A writer that never writes: a reader that got past the open would wait forever.
    const int writer = ::open(dir.file("fed fifo").c_str(), O_RDWR | O_CLOEXEC);
    struct Case {
        std::string path;
        int error;
    };
    const Case cases[] = {
        {dir.file("fifo"), EINVAL},   {dir.file("fed fifo"), EINVAL}, {dir.file("link to fifo"), EINVAL},
        {socketPath, EINVAL},         {"/dev/zero", EINVAL},          {"/dev/tty", EINVAL},
        {dir.file("folder"), EISDIR}, {dir.file("missing"), ENOENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const int result = runInChild(
            [&] {
                const int fd = openRegularFile(c.path);
                if (fd >= 0) return 100;
                const int error = errno;
                const ReadStatus status = readFileBytes(c.path, 1 << 20).status;
                const ReadStatus wanted = c.error == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
                return status != wanted ? 101 : error;
            },
            1);
        EXPECT_EQ(result, c.error);
    }
    ::close(writer);
    ::close(socket);
}

}  // namespace
}  // namespace tarvelin
