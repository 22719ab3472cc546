#include "browser/folder_tree.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using test::TempFolder;
using Names = std::vector<std::string>;

void makeFolders(const TempFolder& folder, std::initializer_list<const char*> names) {
    for (const char* name : names) std::filesystem::create_directories(folder.file(name));
}

Names childNames(const FolderNode& node) {
    Names names;
    for (size_t i = 0; i < node.childCount(); ++i) names.push_back(node.child(i).name());
    return names;
}

// Records what an item model would announce, in order.
class EventLog : public FolderTreeObserver {
public:
    std::vector<std::string> events;
    void beginReset() override { events.push_back("reset"); }
    void endReset() override { events.push_back("/reset"); }
    void beginInsert(const FolderNode& parent, size_t first, size_t last) override {
        events.push_back("insert " + parent.name() + " " + std::to_string(first) + "-" +
                         std::to_string(last));
    }
    void endInsert() override { events.push_back("/insert"); }
    void beginRemove(const FolderNode& parent, size_t first, size_t last) override {
        events.push_back("remove " + parent.name() + " " + std::to_string(first) + "-" +
                         std::to_string(last));
    }
    void endRemove() override { events.push_back("/remove"); }
};

TEST(ListSubfolders, FoldersAndLinksToThemSortedHiddenByChoice) {
    TempFolder folder;
    makeFolders(folder, {"beta", "Alpha", ".config", "\x8e\x91\x97\xbf", "gamma/inner"});
    folder.write("file.txt", "x");
    ASSERT_EQ(::symlink("beta", folder.file("link").c_str()), 0);
    ASSERT_EQ(::symlink("file.txt", folder.file("link-to-file").c_str()), 0);

    int error = -1;
    EXPECT_EQ(listSubfolders(folder.path(), false, &error),
              (Names{"Alpha", "beta", "gamma", "link", "\x8e\x91\x97\xbf"}));
    EXPECT_EQ(error, 0);
    EXPECT_EQ(listSubfolders(folder.path(), true),
              (Names{".config", "Alpha", "beta", "gamma", "link", "\x8e\x91\x97\xbf"}));
    EXPECT_TRUE(listSubfolders(folder.file("missing"), true, &error).empty());
    EXPECT_EQ(error, ENOENT);
}

TEST(MountedVolumes, MountPointsUnderMediaAndMntDecodedOnce) {
    const char* mounts =
        "/dev/sda1 / ext4 rw 0 0\n"
        "tmpfs /run/user/1000 tmpfs rw 0 0\n"
        "/dev/sdb1 /media/u/USB\\040STICK vfat rw 0 0\n"
        "/dev/sdc1 /mnt/data ext4 rw 0 0\n"
        "/dev/sdd1 /run/media/u/CARD exfat rw 0 0\n"
        "/dev/sdc1 /mnt/data ext4 rw 0 0\n"
        "/dev/sde1 /mnt ext4 rw 0 0\n"
        "broken\n";
    EXPECT_EQ(mountedVolumes(mounts), (Names{"/media/u/USB STICK", "/mnt/data", "/run/media/u/CARD"}));
}

struct DesktopFixture : ::testing::Test {
    TempFolder folder;
    DesktopPlaces places;
    DesktopFixture() {
        makeFolders(folder, {"home/u/Desktop/Projects", "home/u/Desktop/.secret", "media/USB"});
        folder.write("home/u/Desktop/note.txt", "x");
        places.home = folder.file("home/u");
        places.desktop = folder.file("home/u/Desktop/");
        places.volumes = {folder.file("media/USB")};
    }
};

TEST_F(DesktopFixture, DesktopHoldsHomeRootVolumesThenDesktopFolders) {
    const FolderTree tree(false, places);
    const FolderNode& root = tree.rootNode();
    EXPECT_EQ(tree.root(), "rfDesktop");
    EXPECT_TRUE(root.isDesktop());
    EXPECT_EQ(root.name(), "デスクトップ");
    EXPECT_EQ(root.path(), folder.file("home/u/Desktop"));
    EXPECT_EQ(childNames(root), (Names{"u", "/", "USB", "Projects"}));
    ASSERT_EQ(root.childCount(), 4u);
    EXPECT_EQ(root.child(0).path(), folder.file("home/u"));
    EXPECT_EQ(root.child(1).path(), "/");
    EXPECT_EQ(root.child(2).path(), folder.file("media/USB"));
    EXPECT_EQ(root.child(3).path(), folder.file("home/u/Desktop/Projects"));
    EXPECT_EQ(root.child(3).row(), 3u);
    EXPECT_FALSE(root.child(3).childrenRead());

    const FolderTree withHidden(true, places);
    EXPECT_EQ(childNames(withHidden.rootNode()), (Names{"u", "/", "USB", ".secret", "Projects"}));
}

TEST_F(DesktopFixture, AHomeGivenWithATrailingSeparatorKeepsItsName) {
    places.home += "/";
    places.volumes = {folder.file("media/USB/")};
    const FolderTree tree(false, places);
    EXPECT_EQ(childNames(tree.rootNode()), (Names{"u", "/", "USB", "Projects"}));
    EXPECT_EQ(tree.rootNode().child(0).path(), folder.file("home/u"));
}

TEST_F(DesktopFixture, EqualRootsDoNotRebuild) {
    FolderTree tree(false, places);
    EventLog log;
    tree.setObserver(&log);
    const FolderNode* desktop = &tree.rootNode();
    EXPECT_FALSE(tree.setRoot("RFDESKTOP"));
    EXPECT_EQ(&tree.rootNode(), desktop);

    EXPECT_TRUE(tree.setRoot(folder.file("home/u")));
    EXPECT_EQ(tree.root(), folder.file("home/u"));
    EXPECT_EQ(tree.rootNode().name(), "u");
    EXPECT_EQ(childNames(tree.rootNode()), Names{"Desktop"});
    EXPECT_FALSE(tree.setRoot(folder.file("home/u/")));
    EXPECT_TRUE(tree.setRoot(folder.file("home/U")));  // another folder on Linux
    EXPECT_EQ(log.events, (std::vector<std::string>{"reset", "/reset", "reset", "/reset"}));
}

TEST_F(DesktopFixture, MissingRootShowsAnEmptyNodeAndRefreshGoesToTheDesktop) {
    FolderTree tree(false, places);
    EXPECT_TRUE(tree.setRoot(folder.file("gone")));
    EXPECT_EQ(tree.rootNode().path(), folder.file("gone"));
    EXPECT_EQ(tree.rootNode().childCount(), 0u);
    EXPECT_EQ(tree.rootNode().readError(), ENOENT);

    EXPECT_TRUE(tree.resetVanishedRoot());
    EXPECT_EQ(tree.root(), "rfDesktop");
    const FolderNode* desktop = &tree.rootNode();
    EXPECT_FALSE(tree.resetVanishedRoot());  // a tree at the desktop keeps its nodes
    EXPECT_EQ(&tree.rootNode(), desktop);

    tree.setRoot(folder.file("media"));
    EXPECT_FALSE(tree.resetVanishedRoot());
    std::filesystem::remove_all(folder.file("media"));
    EXPECT_TRUE(tree.resetVanishedRoot());
    EXPECT_EQ(tree.root(), "rfDesktop");
}

TEST(FolderTree, ReadsChildrenOnceWhenExpanded) {
    TempFolder folder;
    makeFolders(folder, {"a/x", "a/Y", "b"});
    FolderTree tree(false, DesktopPlaces{});
    tree.setRoot(folder.path());
    EventLog log;
    tree.setObserver(&log);
    FolderNode& a = tree.rootNode().child(0);
    tree.readChildren(a);
    tree.readChildren(a);
    tree.readChildren(tree.rootNode().child(1));  // no subfolders: nothing to announce
    EXPECT_EQ(childNames(a), (Names{"x", "Y"}));
    EXPECT_EQ(a.child(1).path(), folder.file("a/Y"));
    EXPECT_EQ(a.child(1).parent(), &a);
    EXPECT_TRUE(tree.rootNode().child(1).childrenRead());
    EXPECT_EQ(log.events, (std::vector<std::string>{"insert a 0-1", "/insert"}));
}

TEST(FolderTree, RefreshKeepsRemainingNodesAndAnnouncesEachChange) {
    TempFolder folder;
    makeFolders(folder, {"root/a", "root/b/x", "root/c", "root/d"});
    FolderTree tree(false, DesktopPlaces{});
    tree.setRoot(folder.file("root"));
    FolderNode& root = tree.rootNode();
    FolderNode* b = &root.child(1);
    tree.readChildren(*b);

    std::filesystem::remove(folder.file("root/a"));
    std::filesystem::remove(folder.file("root/c"));
    makeFolders(folder, {"root/ab", "root/b/y", "root/e"});
    EventLog log;
    tree.setObserver(&log);
    tree.refresh(root);

    EXPECT_EQ(childNames(root), (Names{"ab", "b", "d", "e"}));
    EXPECT_EQ(&root.child(1), b);
    EXPECT_EQ(childNames(*b), (Names{"x", "y"}));
    EXPECT_FALSE(root.child(0).childrenRead());
    EXPECT_EQ(log.events, (std::vector<std::string>{
                              "remove root 2-2", "/remove", "remove root 0-0", "/remove", "insert root 0-0",
                              "/insert", "insert root 3-3", "/insert", "insert b 1-1", "/insert"}));
}

TEST(FolderTree, RefreshAnnouncesNeighboursAsOneRangeAndKeepsRowsRight) {
    TempFolder folder;
    makeFolders(folder, {"root/a", "root/b", "root/c", "root/d", "root/e", "root/f"});
    FolderTree tree(false, DesktopPlaces{});
    tree.setRoot(folder.file("root"));
    FolderNode& root = tree.rootNode();
    std::filesystem::remove(folder.file("root/b"));
    std::filesystem::remove(folder.file("root/c"));
    std::filesystem::remove(folder.file("root/f"));
    makeFolders(folder, {"root/b1", "root/b2", "root/b3", "root/g", "root/h"});
    EventLog log;
    tree.setObserver(&log);
    tree.refresh(root);
    EXPECT_EQ(childNames(root), (Names{"a", "b1", "b2", "b3", "d", "e", "g", "h"}));
    EXPECT_EQ(log.events,
              (std::vector<std::string>{"remove root 5-5", "/remove", "remove root 1-2", "/remove",
                                        "insert root 1-3", "/insert", "insert root 6-7", "/insert"}));
    for (size_t row = 0; row < root.childCount(); ++row) EXPECT_EQ(root.child(row).row(), row);
}

TEST(FolderTree, RefreshLeavesTheMatchingEndsAlone) {
    struct Case {
        const char* name;
        std::vector<const char*> removed, added;
        Names children;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {"nothing changed", {}, {}, {"a", "b", "c", "d"}, {}},
        {"one replaced in the middle",
         {"root/b"},
         {"root/bb"},
         {"a", "bb", "c", "d"},
         {"remove root 1-1", "/remove", "insert root 1-1", "/insert"}},
        {"the first and the last gone",
         {"root/a", "root/d"},
         {},
         {"b", "c"},
         {"remove root 3-3", "/remove", "remove root 0-0", "/remove"}},
        {"added at both ends",
         {},
         {"root/0", "root/e"},
         {"0", "a", "b", "c", "d", "e"},
         {"insert root 0-0", "/insert", "insert root 5-5", "/insert"}},
        {"all gone", {"root/a", "root/b", "root/c", "root/d"}, {}, {}, {"remove root 0-3", "/remove"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        makeFolders(folder, {"root/a", "root/b", "root/c/x", "root/d"});
        FolderTree tree(false, DesktopPlaces{});
        tree.setRoot(folder.file("root"));
        FolderNode& root = tree.rootNode();
        tree.readChildren(root.child(2));
        const FolderNode* c2 = &root.child(2);
        for (const char* name : c.removed) std::filesystem::remove_all(folder.file(name));
        for (const char* name : c.added) std::filesystem::create_directories(folder.file(name));
        EventLog log;
        tree.setObserver(&log);
        tree.refresh(root);
        EXPECT_EQ(childNames(root), c.children);
        EXPECT_EQ(log.events, c.events);
        for (size_t row = 0; row < root.childCount(); ++row) {
            EXPECT_EQ(root.child(row).row(), row);
            if (root.child(row).name() == "c") {
                EXPECT_EQ(&root.child(row), c2);  // kept, with what it read
            }
        }
    }
}

TEST(FolderTree, ChildrenOfTheFileSystemRootHaveOneSeparator) {
    FolderTree tree(false, DesktopPlaces{});
    tree.setRoot("/");
    EXPECT_EQ(tree.rootNode().name(), "/");
    ASSERT_GT(tree.rootNode().childCount(), 0u);
    const FolderNode& first = tree.rootNode().child(0);
    EXPECT_EQ(first.path(), "/" + first.name());
}

}  // namespace
}  // namespace tarvelin
