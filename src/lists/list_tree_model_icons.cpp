// The list model's icons that depend on the disk: asked on worker threads, set as the answers come.
#include <algorithm>
#include <utility>

#include "lists/icon_rules.h"
#include "lists/list_tree_model.h"
#include "lists/node_kinds.h"
#include "lists/path_kind_service.h"

namespace tarvelin {
namespace {

// A question's key: the node handle, the serial of the asking, and whether the selected icon rule asks.
constexpr std::uint64_t kRuleBit = std::uint64_t{1} << 63;

std::uint64_t questionKey(NodeId node, std::uint32_t serial, bool rule) {
    return (rule ? kRuleBit : 0) | (std::uint64_t{serial & 0x7FFFFFFFu} << 32) | node;
}

}  // namespace

ListTreeModel::~ListTreeModel() = default;

PathKindService& ListTreeModel::kinds() {
    if (!m_kinds) {
        m_kinds = std::make_unique<PathKindService>(m_probe);
        // Called on a worker thread: the answers are taken on this model's thread.
        m_kinds->setNotify(
            [this] { QMetaObject::invokeMethod(this, &ListTreeModel::takeAnswers, Qt::QueuedConnection); });
    }
    return *m_kinds;
}

void ListTreeModel::load(const std::string& path, IconAssignment which) {
    if (m_kinds) m_kinds->forgetQuestions();
    m_serial = (m_serial + 1) & 0x7FFFFFFFu;
    if (m_serial == 0) m_serial = 1;
    m_ruleNode = kNoNode;
    std::vector<std::pair<std::uint64_t, std::string>> questions;
    reset([&](ListDocument& document) {
        m_asked.clear();
        readListDocument(document, path);
        // Icons only for a list read whole; every node waits for its answer but the root.
        ListTree& nodes = document.tree;
        const NodeId root = nodes.first();
        m_assignment = which;
        questions.reserve(nodes.size());
        nodes.visitTreeOrder([&](NodeId node, size_t) {
            if (which == IconAssignment::Simple) nodes.setSelectedIcon(node, icons::kSelectedItem);
            if (node == root) return true;
            const std::string& text = nodes.text(node);
            if (tooLongForAPath(text)) {  // no question, and no copy of a text of megabytes
                nodes.setIcon(node, which == IconAssignment::Simple
                                        ? simpleIcon(PathKind::Absent)
                                        : openingIcon(PathKind::Absent, text, nodes.hasChildren(node)));
                return true;
            }
            nodes.setIcon(node, icons::kNotYetKnown);
            if (m_asked.size() <= node) m_asked.resize(std::max<size_t>(node + 1, m_asked.size() * 2), 0);
            m_asked[node] = m_serial;
            questions.emplace_back(questionKey(node, m_serial, false), text);
            return true;
        });
        if (root == kNoNode) return;
        nodes.setIcon(root, icons::kRoot);
        if (which == IconAssignment::OnOpening) nodes.expand(root, false);
    });
    if (!questions.empty()) kinds().ask(std::move(questions));
}

bool ListTreeModel::iconsPending() const {
    if (m_ruleNode != kNoNode && !m_ruleKind) return true;
    for (NodeId node = 0; node < m_asked.size(); ++node)
        if (m_asked[node] == m_serial && tree().isValid(node)) return true;
    return false;
}

void ListTreeModel::forgetQuestionOf(NodeId node) {
    if (node < m_asked.size()) m_asked[node] = 0;
}

void ListTreeModel::applySelectedIconRule(NodeId node) {
    m_ruleNode = node;
    m_ruleKind.reset();
    m_ruleSerial = (m_ruleSerial + 1) & 0x7FFFFFFFu;
    if (node == kNoNode) return;
    const ListTree& nodes = tree();
    int shown = nodes.selectedIcon(node);
    if (shown != icons::kSelectedItem && shown != icons::kSelectedBinder && shown != icons::kEmptyBinder) {
        // What the icon on opening says the text named then, when it says anything.
        const int icon = nodes.icon(node);
        if (icon == icons::kNotYetKnown || icon == icons::kRoot)
            shown = icons::kNotYetKnown;
        else if (icon == icons::kMissing || icon == icons::kBinder || icon == icons::kEmptyBinder)
            shown = selectedIcon(PathKind::Absent, nodes.hasChildren(node));
        else
            shown = icons::kSelectedItem;
        if (shown != nodes.selectedIcon(node)) {
            m_document.tree.setSelectedIcon(node, shown);
            announceIcons(node);
        }
    }
    if (tooLongForAPath(nodes.text(node))) {
        m_ruleKind = PathKind::Absent;
        followRuleAnswer(node);
        return;
    }
    kinds().ask({{questionKey(node, m_ruleSerial, true), nodes.text(node)}});
}

void ListTreeModel::followRuleAnswer(NodeId parent) {
    if (parent == kNoNode || parent != m_ruleNode || !m_ruleKind) return;
    const int icon = selectedIcon(*m_ruleKind, tree().hasChildren(parent));
    if (icon == tree().selectedIcon(parent)) return;
    m_document.tree.setSelectedIcon(parent, icon);
    announceIcons(parent);
}

void ListTreeModel::takeAnswers() {
    if (!m_kinds) return;
    std::vector<NodeId> changed;
    for (const PathKindService::Answer& answer : m_kinds->takeAnswers()) {
        const auto node = static_cast<NodeId>(answer.key & 0xFFFFFFFFu);
        const auto serial = static_cast<std::uint32_t>((answer.key >> 32) & 0x7FFFFFFFu);
        if (!tree().isValid(node)) continue;
        ListTree& nodes = m_document.tree;
        if (answer.key & kRuleBit) {
            if (node != m_ruleNode || serial != m_ruleSerial) continue;
            m_ruleKind = answer.kind;
            const int icon = selectedIcon(answer.kind, nodes.hasChildren(node));
            if (icon == nodes.selectedIcon(node)) continue;
            nodes.setSelectedIcon(node, icon);
        } else {
            if (node >= m_asked.size() || m_asked[node] != serial) continue;
            m_asked[node] = 0;
            nodes.setIcon(node, m_assignment == IconAssignment::Simple
                                    ? simpleIcon(answer.kind)
                                    : openingIcon(answer.kind, nodes.text(node), nodes.hasChildren(node)));
        }
        changed.push_back(node);
    }
    announceIcons(std::move(changed));
}

void ListTreeModel::announceIcons(std::vector<NodeId> nodes) {
    // One announcement for the changed rows of each parent, from the first to the last of them.
    std::vector<std::pair<NodeId, int>> rows;
    rows.reserve(nodes.size());
    for (const NodeId node : nodes)
        rows.emplace_back(tree().parent(node), static_cast<int>(tree().index(node)));
    std::sort(rows.begin(), rows.end());
    const QList<int> roles{Qt::DecorationRole, SelectedDecorationRole, IconRole, SelectedIconRole};
    for (size_t i = 0; i < rows.size();) {
        size_t end = i;
        while (end < rows.size() && rows[end].first == rows[i].first) ++end;
        const QModelIndex parent = indexOf(rows[i].first);
        emit dataChanged(index(rows[i].second, 0, parent), index(rows[end - 1].second, 0, parent), roles);
        i = end;
    }
}

}  // namespace tarvelin
