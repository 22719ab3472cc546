#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tarvelin {

// A node's handle. It stays valid until the node is removed; a removed node's handle may be reused later.
using NodeId = std::uint32_t;
inline constexpr NodeId kNoNode = 0xFFFFFFFFu;

enum class MoveMode {
    InsertBefore,      // the sibling directly before the destination
    AddAsLastSibling,  // the last child of the destination's parent (last top-level node for a top-level one)
    AddAsLastChild,    // the last child of the destination
};

// The node tree of a list document: an ordered forest. A node stores its text, its two icon indexes, its
// expanded state and its place; level, index, absolute index and "has children" are derived from the place.
// Nodes live in one vector and refer to each other by index, so no operation recurses and destroying a tree
// of any depth is a flat loop.
class ListTree {
public:
    ListTree() = default;

    bool empty() const { return m_topLevel.empty(); }
    size_t size() const { return m_liveCount; }  // live nodes
    void clear();
    // Room for this many nodes, so that a reader that knows the count does not grow the storage by doubling.
    void reserve(size_t nodes) { m_nodes.reserve(nodes); }

    // The first node in tree order (the root), or kNoNode for an empty tree.
    NodeId first() const { return m_topLevel.empty() ? kNoNode : m_topLevel.front(); }
    const std::vector<NodeId>& topLevel() const { return m_topLevel; }
    // The children of parent in order; the top-level nodes for kNoNode.
    const std::vector<NodeId>& children(NodeId parent) const;

    bool isValid(NodeId node) const { return node < m_nodes.size() && m_nodes[node].alive; }
    const std::string& text(NodeId node) const { return m_nodes[node].text; }
    // Drops the node's source bytes.
    void setText(NodeId node, std::string text);
    // The bytes the node's line had in the file it was read from, kept where its text would not encode back
    // to them (a CP932 character with two codes, bytes that are not CP932), so that a line nobody edited is
    // written as it was read; nullptr for every other node.
    const std::string* sourceBytes(NodeId node) const {
        const std::uint32_t source = m_nodes[node].source;
        return source == kNoSource ? nullptr : &m_sources[source];
    }
    void setSourceBytes(NodeId node, std::string bytes);
    // Icon indexes; -1 stands for an icon not yet known.
    int icon(NodeId node) const { return iconOf(m_nodes[node].icon); }
    void setIcon(NodeId node, int icon) { m_nodes[node].icon = stored(icon); }
    int selectedIcon(NodeId node) const { return iconOf(m_nodes[node].selectedIcon); }
    void setSelectedIcon(NodeId node, int icon) { m_nodes[node].selectedIcon = stored(icon); }

    NodeId parent(NodeId node) const { return m_nodes[node].parent; }
    bool hasChildren(NodeId node) const { return !m_nodes[node].children.empty(); }
    size_t level(NodeId node) const;
    size_t index(NodeId node) const;  // among its siblings
    // Position in tree order (depth-first pre-order over the forest). Linear in the nodes before it.
    size_t absoluteIndex(NodeId node) const;
    // The node at that position in tree order, or kNoNode past the end. Linear in the position.
    NodeId nodeAt(size_t absoluteIndex) const;
    // The node after `node` in tree order, or kNoNode after the last.
    NodeId next(NodeId node) const;
    // Every node in tree order; the way to visit all nodes without a quadratic nodeAt loop.
    std::vector<NodeId> treeOrder() const;
    // Calls visit(node, level) for every node in tree order until it returns false. Iterative: the depth of
    // the tree costs heap, not call stack.
    template <typename Visit>
    void visitTreeOrder(Visit visit) const;
    // True when node is ancestor itself or lies inside its subtree.
    bool isInSubtree(NodeId node, NodeId ancestor) const;

    // Appends a node as the last child of parent (the last top-level node for kNoNode), with icons 0 and 0.
    // A text is one line of a list file: a CR, LF or NUL in it becomes a space, or the file would not read
    // back.
    NodeId addChild(NodeId parent, std::string text);
    // addChild for a line of a list file, which holds no CR, LF or NUL: a text of megabytes is not looked
    // through again.
    NodeId addLine(NodeId parent, std::string line);
    // setText for a node a reader placed, with a line of its file.
    void setLine(NodeId node, std::string line) { m_nodes[node].text = std::move(line); }
    // Moves node with its subtree. Returns false, changing nothing, when destination is node itself or lies
    // in its subtree. The new parent is expanded.
    bool move(NodeId node, NodeId destination, MoveMode mode);
    // Removes node with its whole subtree.
    void remove(NodeId node);

    bool isExpanded(NodeId node) const { return m_nodes[node].expanded; }
    void expand(NodeId node, bool recursive) { setExpanded(node, recursive, true); }
    void collapse(NodeId node, bool recursive) { setExpanded(node, recursive, false); }

private:
    static constexpr std::uint32_t kNoSource = 0xFFFFFFFFu;
    static constexpr std::uint8_t kNoIcon = 0xFF;
    static int iconOf(std::uint8_t stored) { return stored == kNoIcon ? -1 : stored; }
    static std::uint8_t stored(int icon) { return icon < 0 ? kNoIcon : static_cast<std::uint8_t>(icon); }

    struct Node {
        std::string text;
        std::vector<NodeId> children;
        NodeId parent = kNoNode;
        // Where the node stood among its siblings when last asked: views ask for the same rows again and
        // again, and a binder may hold thousands of siblings. Checked before use, so it is never trusted
        // stale.
        mutable std::uint32_t rowHint = 0;
        std::uint32_t source = kNoSource;  // index into m_sources
        std::uint8_t icon = 0;
        std::uint8_t selectedIcon = 0;
        bool expanded = false;
        bool alive = false;
    };

    std::vector<NodeId>& siblingsOf(NodeId parent) {
        return parent == kNoNode ? m_topLevel : m_nodes[parent].children;
    }
    void detach(NodeId node);
    void setExpanded(NodeId node, bool recursive, bool expanded);

    std::vector<Node> m_nodes;
    std::vector<NodeId> m_topLevel;
    std::vector<NodeId> m_free;  // removed slots, reused by addChild
    std::vector<std::string> m_sources;
    size_t m_liveCount = 0;
};

template <typename Visit>
void ListTree::visitTreeOrder(Visit visit) const {
    // Each entry is a sibling list and the position of the next node to visit in it; the stack's height is
    // the level of that node.
    std::vector<std::pair<const std::vector<NodeId>*, size_t>> stack;
    stack.emplace_back(&m_topLevel, 0);
    while (!stack.empty()) {
        auto& [siblings, position] = stack.back();
        if (position == siblings->size()) {
            stack.pop_back();
            continue;
        }
        const NodeId node = (*siblings)[position++];
        if (!visit(node, stack.size() - 1)) return;
        const std::vector<NodeId>& children = m_nodes[node].children;
        if (!children.empty()) stack.emplace_back(&children, 0);
    }
}

}  // namespace tarvelin
