#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "lists/list_tree.h"
#include "tree_outline.h"

namespace tarvelin {
namespace {

using test::outline;

// R ( A ( A1 A2 ) B ) T
struct SampleTree {
    ListTree tree;
    std::map<std::string, NodeId> id;

    SampleTree() {
        add(kNoNode, "R");
        add(id["R"], "A");
        add(id["A"], "A1");
        add(id["A"], "A2");
        add(id["R"], "B");
        add(kNoNode, "T");
    }
    void add(NodeId parent, const std::string& text) { id[text] = tree.addChild(parent, text); }
};

TEST(ListTree, DerivedPositions) {
    const SampleTree s;
    struct Row {
        const char* node;
        const char* parent;  // "" for none
        size_t level, index, absoluteIndex;
        bool hasChildren;
        const char* next;  // "" after the last
    };
    const Row rows[] = {
        {"R", "", 0, 0, 0, true, "A"},    {"A", "R", 1, 0, 1, true, "A1"}, {"A1", "A", 2, 0, 2, false, "A2"},
        {"A2", "A", 2, 1, 3, false, "B"}, {"B", "R", 1, 1, 4, false, "T"}, {"T", "", 0, 1, 5, false, ""},
    };
    const auto idOf = [&](const std::string& name) { return name.empty() ? kNoNode : s.id.at(name); };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.node);
        const NodeId node = s.id.at(row.node);
        EXPECT_EQ(s.tree.parent(node), idOf(row.parent));
        EXPECT_EQ(s.tree.level(node), row.level);
        EXPECT_EQ(s.tree.index(node), row.index);
        EXPECT_EQ(s.tree.absoluteIndex(node), row.absoluteIndex);
        EXPECT_EQ(s.tree.nodeAt(row.absoluteIndex), node);
        EXPECT_EQ(s.tree.hasChildren(node), row.hasChildren);
        EXPECT_EQ(s.tree.next(node), idOf(row.next));
    }
    EXPECT_EQ(s.tree.first(), s.id.at("R"));
    EXPECT_EQ(s.tree.size(), 6u);
    EXPECT_EQ(s.tree.nodeAt(6), kNoNode);
    EXPECT_EQ(s.tree.children(kNoNode), (std::vector<NodeId>{s.id.at("R"), s.id.at("T")}));
}

TEST(ListTree, NewNodeHasNoIconsAndIsCollapsed) {
    ListTree tree;
    const NodeId node = tree.addChild(kNoNode, "x");
    EXPECT_EQ(tree.icon(node), 0);
    EXPECT_EQ(tree.selectedIcon(node), 0);
    EXPECT_FALSE(tree.isExpanded(node));
    EXPECT_FALSE(tree.hasChildren(node));
}

TEST(ListTree, MoveModes) {
    struct Case {
        const char* name;
        const char* node;
        const char* destination;
        MoveMode mode;
        bool moved;
        std::vector<std::string> result;
        const char* expandedParent;  // "" when the node ends up top-level or nothing moved
    };
    const std::vector<std::string> unchanged{"0 R", "1 A", "2 A1", "2 A2", "1 B", "0 T"};
    const Case cases[] = {
        {"before a sibling of the parent",
         "A2",
         "B",
         MoveMode::InsertBefore,
         true,
         {"0 R", "1 A", "2 A1", "1 A2", "1 B", "0 T"},
         "R"},
        {"before its own previous sibling",
         "A2",
         "A1",
         MoveMode::InsertBefore,
         true,
         {"0 R", "1 A", "2 A2", "2 A1", "1 B", "0 T"},
         "A"},
        {"before its own next sibling (order unchanged)", "A1", "A2", MoveMode::InsertBefore, true, unchanged,
         "A"},
        {"before the root: a second top-level node ahead of it",
         "A1",
         "R",
         MoveMode::InsertBefore,
         true,
         {"0 A1", "0 R", "1 A", "2 A2", "1 B", "0 T"},
         ""},
        {"last sibling of a nested destination",
         "B",
         "A1",
         MoveMode::AddAsLastSibling,
         true,
         {"0 R", "1 A", "2 A1", "2 A2", "2 B", "0 T"},
         "A"},
        {"last sibling of a top-level destination",
         "A",
         "T",
         MoveMode::AddAsLastSibling,
         true,
         {"0 R", "1 B", "0 T", "0 A", "1 A1", "1 A2"},
         ""},
        {"last child, with the whole subtree",
         "A",
         "B",
         MoveMode::AddAsLastChild,
         true,
         {"0 R", "1 B", "2 A", "3 A1", "3 A2", "0 T"},
         "B"},
        {"last child of a top-level node",
         "R",
         "T",
         MoveMode::AddAsLastChild,
         true,
         {"0 T", "1 R", "2 A", "3 A1", "3 A2", "2 B"},
         "T"},
        {"onto itself, before", "A", "A", MoveMode::InsertBefore, false, unchanged, ""},
        {"onto itself, as child", "A", "A", MoveMode::AddAsLastChild, false, unchanged, ""},
        {"into its own child", "A", "A1", MoveMode::AddAsLastChild, false, unchanged, ""},
        {"before a node in its subtree", "R", "B", MoveMode::InsertBefore, false, unchanged, ""},
        {"beside a node deep in its subtree", "R", "A2", MoveMode::AddAsLastSibling, false, unchanged, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SampleTree s;
        const NodeId node = s.id.at(c.node);
        EXPECT_EQ(s.tree.move(node, s.id.at(c.destination), c.mode), c.moved);
        EXPECT_EQ(outline(s.tree), c.result);
        EXPECT_EQ(s.tree.size(), 6u);
        for (const auto& [name, id] : s.id)
            EXPECT_EQ(s.tree.isExpanded(id), name == c.expandedParent) << name;
        if (c.moved) {
            EXPECT_EQ(s.tree.first(), s.tree.nodeAt(0));
        }
    }
}

TEST(ListTree, RemoveTakesTheSubtreeAndFreesTheSlots) {
    SampleTree s;
    s.tree.remove(s.id.at("A"));
    EXPECT_EQ(outline(s.tree), (std::vector<std::string>{"0 R", "1 B", "0 T"}));
    EXPECT_EQ(s.tree.size(), 3u);
    EXPECT_FALSE(s.tree.isValid(s.id.at("A1")));
    s.tree.expand(s.id.at("B"), false);
    const NodeId reused = s.tree.addChild(s.id.at("B"), "new");
    EXPECT_TRUE(reused == s.id.at("A") || reused == s.id.at("A1") || reused == s.id.at("A2"));
    EXPECT_FALSE(s.tree.hasChildren(reused));
    EXPECT_FALSE(s.tree.isExpanded(reused));
    EXPECT_EQ(outline(s.tree), (std::vector<std::string>{"0 R", "1 B", "2 new", "0 T"}));

    s.tree.remove(s.id.at("R"));
    s.tree.remove(s.id.at("T"));
    EXPECT_TRUE(s.tree.empty());
    EXPECT_EQ(s.tree.size(), 0u);
    EXPECT_EQ(s.tree.first(), kNoNode);
}

TEST(ListTree, ExpandAndCollapse) {
    struct Case {
        const char* name;
        bool startExpanded;
        bool expand;
        bool recursive;
        std::vector<std::string> expanded;  // afterwards, of R A A1 A2 B
    };
    const Case cases[] = {
        {"expand one level", false, true, false, {"R"}},
        {"expand the subtree", false, true, true, {"R", "A", "A1", "A2", "B"}},
        {"collapse one level", true, false, false, {"A", "A1", "A2", "B"}},
        {"collapse the subtree", true, false, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SampleTree s;
        if (c.startExpanded) s.tree.expand(s.id.at("R"), true);
        if (c.expand)
            s.tree.expand(s.id.at("R"), c.recursive);
        else
            s.tree.collapse(s.id.at("R"), c.recursive);
        std::vector<std::string> expanded;
        for (NodeId n : s.tree.treeOrder())
            if (s.tree.isExpanded(n)) expanded.push_back(s.tree.text(n));
        EXPECT_EQ(expanded, c.expanded);
        EXPECT_FALSE(s.tree.isExpanded(s.id.at("T")));
    }
}

TEST(ListTree, TextsStayOneLine) {
    ListTree tree;
    const NodeId node = tree.addChild(kNoNode, std::string("a\r\nb\0c", 6));
    EXPECT_EQ(tree.text(node), "a  b c");
    tree.setText(node, "x\ny");
    EXPECT_EQ(tree.text(node), "x y");
}

}  // namespace
}  // namespace tarvelin
