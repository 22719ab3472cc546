#include "lists/list_tree.h"

#include <algorithm>
#include <utility>

namespace tarvelin {
namespace {

const std::vector<NodeId> kNoChildren;

// A text is one line of the file; the characters that would end the line or the text cannot be part of it.
void makeSingleLine(std::string& text) {
    // Texts are mostly clean, and may be megabytes long: look with memchr before touching a byte.
    for (const char c : {'\r', '\n', '\0'})
        for (size_t at = text.find(c); at != std::string::npos; at = text.find(c, at + 1)) text[at] = ' ';
}

}  // namespace

void ListTree::clear() {
    // Swapping releases the storage; a large list closed should give its memory back.
    std::vector<Node>().swap(m_nodes);
    std::vector<NodeId>().swap(m_topLevel);
    std::vector<NodeId>().swap(m_free);
    std::vector<std::string>().swap(m_sources);
    m_liveCount = 0;
}

const std::vector<NodeId>& ListTree::children(NodeId parent) const {
    if (parent == kNoNode) return m_topLevel;
    return isValid(parent) ? m_nodes[parent].children : kNoChildren;
}

size_t ListTree::level(NodeId node) const {
    size_t level = 0;
    for (NodeId p = m_nodes[node].parent; p != kNoNode; p = m_nodes[p].parent) ++level;
    return level;
}

size_t ListTree::index(NodeId node) const {
    const std::vector<NodeId>& siblings = children(m_nodes[node].parent);
    const size_t hint = m_nodes[node].rowHint;
    if (hint < siblings.size() && siblings[hint] == node) return hint;
    const auto row =
        static_cast<size_t>(std::find(siblings.begin(), siblings.end(), node) - siblings.begin());
    m_nodes[node].rowHint = static_cast<std::uint32_t>(row);
    return row;
}

size_t ListTree::absoluteIndex(NodeId node) const {
    size_t position = 0;
    bool found = false;
    visitTreeOrder([&](NodeId n, size_t) {
        if (n == node) {
            found = true;
            return false;
        }
        ++position;
        return true;
    });
    return found ? position : m_liveCount;
}

NodeId ListTree::nodeAt(size_t absoluteIndex) const {
    if (absoluteIndex >= m_liveCount) return kNoNode;
    NodeId result = kNoNode;
    size_t position = 0;
    visitTreeOrder([&](NodeId n, size_t) {
        if (position++ < absoluteIndex) return true;
        result = n;
        return false;
    });
    return result;
}

NodeId ListTree::next(NodeId node) const {
    if (hasChildren(node)) return m_nodes[node].children.front();
    for (NodeId n = node; n != kNoNode; n = m_nodes[n].parent) {
        const std::vector<NodeId>& siblings = children(m_nodes[n].parent);
        const size_t i = index(n);
        if (i + 1 < siblings.size()) return siblings[i + 1];
    }
    return kNoNode;
}

std::vector<NodeId> ListTree::treeOrder() const {
    std::vector<NodeId> order;
    order.reserve(m_liveCount);
    visitTreeOrder([&](NodeId n, size_t) {
        order.push_back(n);
        return true;
    });
    return order;
}

bool ListTree::isInSubtree(NodeId node, NodeId ancestor) const {
    for (NodeId n = node; n != kNoNode; n = m_nodes[n].parent)
        if (n == ancestor) return true;
    return false;
}

void ListTree::setText(NodeId node, std::string text) {
    makeSingleLine(text);
    Node& n = m_nodes[node];
    n.text = std::move(text);
    if (n.source != kNoSource) std::string().swap(m_sources[std::exchange(n.source, kNoSource)]);
}

void ListTree::setSourceBytes(NodeId node, std::string bytes) {
    Node& n = m_nodes[node];
    if (n.source == kNoSource) {
        n.source = static_cast<std::uint32_t>(m_sources.size());
        m_sources.emplace_back();
    }
    m_sources[n.source] = std::move(bytes);
}

NodeId ListTree::addChild(NodeId parent, std::string text) {
    makeSingleLine(text);
    return addLine(parent, std::move(text));
}

NodeId ListTree::addLine(NodeId parent, std::string line) {
    NodeId id;
    if (!m_free.empty()) {
        id = m_free.back();
        m_free.pop_back();
        m_nodes[id] = Node{};
    } else {
        id = static_cast<NodeId>(m_nodes.size());
        m_nodes.emplace_back();
    }
    Node& node = m_nodes[id];
    node.text = std::move(line);
    node.parent = parent;
    node.alive = true;
    siblingsOf(parent).push_back(id);
    ++m_liveCount;
    return id;
}

void ListTree::detach(NodeId node) {
    std::vector<NodeId>& siblings = siblingsOf(m_nodes[node].parent);
    siblings.erase(std::find(siblings.begin(), siblings.end(), node));
    m_nodes[node].parent = kNoNode;
}

bool ListTree::move(NodeId node, NodeId destination, MoveMode mode) {
    if (isInSubtree(destination, node)) return false;
    const NodeId newParent = mode == MoveMode::AddAsLastChild ? destination : m_nodes[destination].parent;
    detach(node);
    std::vector<NodeId>& siblings = siblingsOf(newParent);
    if (mode == MoveMode::InsertBefore)
        siblings.insert(std::find(siblings.begin(), siblings.end(), destination), node);
    else
        siblings.push_back(node);
    m_nodes[node].parent = newParent;
    if (newParent != kNoNode) m_nodes[newParent].expanded = true;
    return true;
}

void ListTree::remove(NodeId node) {
    detach(node);
    std::vector<NodeId> pending{node};
    while (!pending.empty()) {
        const NodeId n = pending.back();
        pending.pop_back();
        Node& gone = m_nodes[n];
        pending.insert(pending.end(), gone.children.begin(), gone.children.end());
        if (gone.source != kNoSource) std::string().swap(m_sources[gone.source]);
        gone = Node{};  // releases the text and the child list now, not when the slot is reused
        m_free.push_back(n);
        --m_liveCount;
    }
}

void ListTree::setExpanded(NodeId node, bool recursive, bool expanded) {
    if (!recursive) {
        m_nodes[node].expanded = expanded;
        return;
    }
    std::vector<NodeId> pending{node};
    while (!pending.empty()) {
        Node& n = m_nodes[pending.back()];
        pending.pop_back();
        n.expanded = expanded;
        pending.insert(pending.end(), n.children.begin(), n.children.end());
    }
}

}  // namespace tarvelin
