#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "platform/item_path.h"

namespace tarvelin {
namespace {

TEST(ItemPath, SplitsPathsIntoFolderNameAndExtension) {
    struct Case {
        std::string_view path, folder, name, extension;
        std::string parent;
    };
    const Case cases[] = {
        {"/home/u/plan.kxd", "/home/u/", "plan.kxd", ".kxd", "/home/u"},
        {"/home/u/archive.tar.gz", "/home/u/", "archive.tar.gz", ".gz", "/home/u"},
        {"/home/u.d/README", "/home/u.d/", "README", "", "/home/u.d"},  // a "." in a folder is no extension
        {"/vmlinuz", "/", "vmlinuz", "", "/"},
        {"/home/u/", "/home/u/", "", "", "/home/u"},
        {"plan.", "", "plan.", ".", "."},
        {".profile", "", ".profile", ".profile", "."},
        {"", "", "", "", "."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(folderPart(c.path), c.folder) << c.path;
        EXPECT_EQ(fileNamePart(c.path), c.name) << c.path;
        EXPECT_EQ(extensionOf(c.path), c.extension) << c.path;
        EXPECT_EQ(parentFolder(c.path), c.parent) << c.path;
    }
}

TEST(DisplayText, ReadsEachFolderInItsOwnEncoding) {
    const std::string cp932 = "\x8e\x91\x97\xbf";  // "資料"
    struct Case {
        std::string bytes;
        std::string shown;
    };
    const Case cases[] = {
        {"/home/u/資料/a.txt", "/home/u/資料/a.txt"},
        {"/home/u/" + cp932 + "/a.txt", "/home/u/資料/a.txt"},
        // A CP932 folder under a UTF-8 one: only the CP932 part is read as CP932.
        {"/home/ゆう/" + cp932 + "/", "/home/ゆう/資料/"},
        {cp932 + ".txt", "資料.txt"},
        {"//", "//"},
    };
    for (const Case& c : cases) EXPECT_EQ(displayUtf8(c.bytes), c.shown) << c.shown;
}

}  // namespace
}  // namespace tarvelin
