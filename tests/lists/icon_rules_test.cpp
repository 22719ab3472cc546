#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "lists/icon_rules.h"
#include "lists/list_tree.h"
#include "lists/node_kinds.h"
#include "platform/item_path.h"
#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using test::TempFolder;

// Real files and folders for every rule: the folder has "dir" (a folder whose name has a dot in the right
// places), files with each known extension and some that are not known.
class IconRules : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(m_folder.file("dir"));
        std::filesystem::create_directory(m_folder.file("dir.xls"));
        for (const char* name : {"a.xls",    "a.123",          "a.bmp",
                                 "a.doc",    "a.jwc",          "a.exe",
                                 "a.gif",    "a.hoc",          "a.jpg",
                                 "a.jww",    "a.jtd",          "a.txt",
                                 "Plan.XLS", "Report.DOC",     "report.doc",
                                 "noext",    "archive.tar.gz", ".txt",
                                 "a.",       "dir.xls/inner",  "\x8E\x91\x97\xBF.doc"})
            m_folder.write(name, "x");
        std::filesystem::create_directory_symlink(m_folder.file("dir"), m_folder.file("link"));
        std::filesystem::create_symlink(m_folder.file("gone"), m_folder.file("dangling.doc"));
    }
    std::string at(const char* name) const { return m_folder.file(name); }

    TempFolder m_folder;
};

TEST_F(IconRules, ExtensionTable) {
    struct Case {
        const char* path;
        std::string_view extension;
        int icon;
    };
    const Case cases[] = {
        {"/x/a.xls", ".xls", 7},     {"/x/a.123", ".123", 8},
        {"/x/a.bmp", ".bmp", 9},     {"/x/a.doc", ".doc", 10},
        {"/x/a.jwc", ".jwc", 11},    {"/x/a.exe", ".exe", 12},
        {"/x/a.gif", ".gif", 14},    {"/x/a.hoc", ".hoc", 15},
        {"/x/a.jpg", ".jpg", 16},    {"/x/a.jww", ".jww", 17},
        {"/x/a.jtd", ".jtd", 18},    {"/x/a.txt", ".txt", 19},
        {"/x/Plan.XLS", ".XLS", 13}, {"/x/Report.DOC", ".DOC", 13},
        {"/x/a.jpeg", ".jpeg", 13},  {"/x/noext", "", 13},
        {"/x.doc/noext", "", 13},    {"/x/archive.tar.gz", ".gz", 13},
        {"/x/.txt", ".txt", 19},     {"/x/a.", ".", 13},
        {"a.xls", ".xls", 7},        {"", "", 13},
        {"/x/a.xls ", ".xls ", 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(extensionOf(c.path), c.extension);
        EXPECT_EQ(extensionIcon(c.path), c.icon);
    }
}

TEST_F(IconRules, OnOpeningEveryKind) {
    struct Case {
        std::string text;
        bool withChild;
        int icon;
        NodeKind kind;
    };
    const std::vector<Case> cases = {
        {at("dir"), false, 2, NodeKind::FolderItem},
        {at("dir"), true, 2, NodeKind::FolderItem},
        {at("dir.xls"), false, 2, NodeKind::FolderItem},
        {at("link"), false, 2, NodeKind::FolderItem},
        {at("dir") + "/", false, 2, NodeKind::FolderItem},
        {at("a.xls"), false, 7, NodeKind::FileItem},
        {at("a.123"), false, 8, NodeKind::FileItem},
        {at("a.bmp"), false, 9, NodeKind::FileItem},
        {at("a.doc"), true, 10, NodeKind::FileItem},
        {at("a.jwc"), false, 11, NodeKind::FileItem},
        {at("a.exe"), false, 12, NodeKind::FileItem},
        {at("a.gif"), false, 14, NodeKind::FileItem},
        {at("a.hoc"), false, 15, NodeKind::FileItem},
        {at("a.jpg"), false, 16, NodeKind::FileItem},
        {at("a.jww"), false, 17, NodeKind::FileItem},
        {at("a.jtd"), false, 18, NodeKind::FileItem},
        {at("a.txt"), false, 19, NodeKind::FileItem},
        {at("Plan.XLS"), false, 13, NodeKind::FileItem},
        {at("Report.DOC"), false, 13, NodeKind::FileItem},
        {at("report.doc"), false, 10, NodeKind::FileItem},
        {at("noext"), false, 13, NodeKind::FileItem},
        {at("archive.tar.gz"), false, 13, NodeKind::FileItem},
        {at(".txt"), false, 19, NodeKind::FileItem},
        {at("a."), false, 13, NodeKind::FileItem},
        {at("dir.xls/inner"), false, 13, NodeKind::FileItem},
        {at("\x8E\x91\x97\xBF.doc"), false, 10, NodeKind::FileItem},  // a name that is not UTF-8
        {at("\xE8\xB3\x87\xE6\x96\x99.doc"), false, 22,
         NodeKind::MissingItem},  // its decoded form is not there
        {at("gone.doc"), false, 22, NodeKind::MissingItem},
        {at("dangling.doc"), true, 22, NodeKind::MissingItem},
        {at("a.xls") + "/", false, 22, NodeKind::MissingItem},
        {"\\\\server\\share\\a.doc", false, 22, NodeKind::MissingItem},
        {"C:\\old\\gone.doc", false, 22, NodeKind::MissingItem},
        {"D:\\photos", true, 22, NodeKind::MissingItem},
        {"E:\\old\\gone.doc", false, 6, NodeKind::Binder},
        {"E:\\old\\gone.doc", true, 1, NodeKind::Binder},
        {"c:\\work", false, 6, NodeKind::Binder},
        {"C:/work", false, 6, NodeKind::Binder},
        {"C:", false, 6, NodeKind::Binder},
        {"資料", false, 6, NodeKind::Binder},
        {"資料", true, 1, NodeKind::Binder},
        {"", false, 6, NodeKind::Binder},
        {" /tmp", false, 6, NodeKind::Binder},
    };
    ListTree tree;
    const NodeId root = tree.addChild(kNoNode, at("dir"));  // a root naming a folder is still the root
    const NodeId binder = tree.addChild(root, "binder");
    std::vector<NodeId> nodes;
    for (const Case& c : cases) {
        nodes.push_back(tree.addChild(binder, c.text));
        if (c.withChild) tree.addChild(nodes.back(), "child");
    }
    for (NodeId n : tree.treeOrder()) tree.setSelectedIcon(n, 9);
    assignIconsOnOpening(tree);

    EXPECT_EQ(tree.icon(root), 0);
    EXPECT_EQ(nodeKind(tree, root), NodeKind::Root);
    EXPECT_TRUE(tree.isExpanded(root));
    EXPECT_EQ(tree.icon(binder), 1);
    EXPECT_FALSE(tree.isExpanded(binder));
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].text);
        EXPECT_EQ(tree.icon(nodes[i]), cases[i].icon);
        EXPECT_EQ(nodeKind(tree, nodes[i]), cases[i].kind);
        EXPECT_EQ(isItem(tree, nodes[i]),
                  cases[i].kind == NodeKind::FolderItem || cases[i].kind == NodeKind::FileItem);
        EXPECT_FALSE(tree.isExpanded(nodes[i]));
    }
    for (NodeId n : tree.treeOrder()) EXPECT_EQ(tree.selectedIcon(n), 9);
}

TEST_F(IconRules, TheFirstTopLevelNodeIsTheRoot) {
    ListTree tree;
    const NodeId front = tree.addChild(kNoNode, "moved in front");
    const NodeId title = tree.addChild(kNoNode, "Untitled");
    tree.addChild(title, "x");
    assignIconsOnOpening(tree);
    EXPECT_EQ(tree.icon(front), 0);
    EXPECT_TRUE(tree.isExpanded(front));
    EXPECT_EQ(tree.icon(title), 1);
    EXPECT_FALSE(tree.isExpanded(title));
}

TEST_F(IconRules, RelativeTextsAreLookedUpFromTheCurrentFolder) {
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(m_folder.path());
    ListTree tree;
    tree.addChild(kNoNode, "R");
    const NodeId folder = tree.addChild(tree.first(), "dir");
    const NodeId file = tree.addChild(tree.first(), "a.jpg");
    assignIconsOnOpening(tree);
    std::filesystem::current_path(saved);
    EXPECT_EQ(tree.icon(folder), 2);
    EXPECT_EQ(tree.icon(file), 16);
}

TEST_F(IconRules, SimpleAssignment) {
    ListTree tree;
    const NodeId root = tree.addChild(kNoNode, at("a.doc"));
    struct Case {
        std::string text;
        bool withChild;
        int icon;
    };
    const Case cases[] = {
        {at("dir"), false, 2},  {at("a.xls"), false, 3},
        {at("noext"), true, 3}, {"C:\\old\\gone.doc", false, 1},
        {"資料", true, 1},      {"E:\\old\\gone.doc", false, 1},
        {"", false, 1},
    };
    std::vector<NodeId> nodes;
    for (const Case& c : cases) {
        nodes.push_back(tree.addChild(root, c.text));
        if (c.withChild) tree.addChild(nodes.back(), at("dir"));
    }
    assignIconsSimple(tree);
    EXPECT_EQ(tree.icon(root), 0);
    for (size_t i = 0; i < nodes.size(); ++i) EXPECT_EQ(tree.icon(nodes[i]), cases[i].icon) << cases[i].text;
    for (NodeId n : tree.treeOrder()) {
        EXPECT_EQ(tree.selectedIcon(n), 4);
        EXPECT_FALSE(tree.isExpanded(n));
    }
}

TEST_F(IconRules, SelectedIconRule) {
    ListTree tree;
    const NodeId root = tree.addChild(kNoNode, "Untitled");
    struct Case {
        std::string text;
        bool withChild;
        int selectedIcon;
    };
    const Case cases[] = {
        {at("dir"), false, 4}, {at("a.txt"), true, 4},          {"資料", true, 5},
        {"資料", false, 6},    {"C:\\old\\gone.doc", false, 6}, {"C:\\old\\gone", true, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const NodeId node = tree.addChild(root, c.text);
        if (c.withChild) tree.addChild(node, "x");
        applySelectedIconRule(tree, node);
        EXPECT_EQ(tree.selectedIcon(node), c.selectedIcon);
    }
    applySelectedIconRule(tree, root);
    EXPECT_EQ(tree.selectedIcon(root), 5);
    applySelectedIconRule(tree, kNoNode);  // nothing selected: nothing happens

    // The rule looks at the disk each time: a file that vanished keeps its icon but not its selected icon.
    m_folder.write("vanishing.xls", "x");
    const NodeId vanishing = tree.addChild(root, at("vanishing.xls"));
    assignIconsOnOpening(tree);
    applySelectedIconRule(tree, vanishing);
    EXPECT_EQ(tree.selectedIcon(vanishing), 4);
    std::filesystem::remove(at("vanishing.xls"));
    applySelectedIconRule(tree, vanishing);
    EXPECT_EQ(tree.icon(vanishing), 7);
    EXPECT_EQ(tree.selectedIcon(vanishing), 6);
}

TEST_F(IconRules, ManyNodesGetTheIconsOfTheirOwnTexts) {
    // Enough nodes for the checks to be spread over threads; every icon must still land on its own node.
    ListTree tree;
    const NodeId root = tree.addChild(kNoNode, "R");
    std::vector<std::pair<NodeId, int>> expected;
    for (int i = 0; i < 20000; ++i) {
        switch (i % 4) {
            case 0:
                expected.emplace_back(tree.addChild(root, at("a.gif")), 14);
                break;
            case 1:
                expected.emplace_back(tree.addChild(root, at("dir")), 2);
                break;
            case 2:
                expected.emplace_back(tree.addChild(root, "/nowhere/" + std::to_string(i)), 22);
                break;
            default:
                expected.emplace_back(tree.addChild(root, "binder " + std::to_string(i)), 6);
                break;
        }
    }
    assignIconsOnOpening(tree);
    for (const auto& [node, icon] : expected) ASSERT_EQ(tree.icon(node), icon) << tree.text(node);
    EXPECT_EQ(tree.icon(root), 0);
}

TEST_F(IconRules, EmptyTree) {
    ListTree tree;
    assignIconsOnOpening(tree);
    assignIconsSimple(tree);
    EXPECT_TRUE(tree.empty());
}

}  // namespace
}  // namespace tarvelin
