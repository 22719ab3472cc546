// The binder commands of the tree's pop-up menu and renaming.
#include <QMenu>

#include "lists/icon_rules.h"
#include "lists/list_tree_model.h"
#include "lists/list_tree_view.h"
#include "lists/list_window.h"
#include "lists/node_kinds.h"

namespace tarvelin {

void TList::N8Click() {
    if (m_currentNode == kNoNode) return;
    const std::optional<QString> name = m_services.dialogs.inputLine(
        QStringLiteral("新規バインダー"), QStringLiteral("バインダーの名前を記入してください"));
    if (!name) return;
    const NodeId parent = selectedNode();
    if (parent == kNoNode) return;
    const NodeId binder = m_model->addChild(parent, typedNodeText(*name));
    m_document.tree.setIcon(binder, icons::kEmptyBinder);
    m_document.tree.setSelectedIcon(binder, icons::kEmptyBinder);
    m_document.tree.expand(parent, false);
    TreeView1->setExpanded(m_model->indexOf(parent), true);
    m_document.modified = true;
}

void TList::N17Click() {
    if (m_currentNode == kNoNode) return;
    // The question comes after a cancelled name too: only "いいえ" ends the row.
    do {
        N8Click();
    } while (m_services.dialogs.confirm(QStringLiteral("続けてバインダーを作成しますか？")));
}

void TList::N13Click() {
    const NodeId first = m_document.tree.first();
    if (first == kNoNode) return;
    m_document.tree.expand(first, true);
    TreeView1->expandRecursively(m_model->indexOf(first));
}

void TList::N15Click() {
    const NodeId first = m_document.tree.first();
    if (first == kNoNode) return;
    m_document.tree.collapse(first, true);
    m_document.tree.expand(first, false);
    // Collapse what the view has expanded under the first node; other top-level nodes keep their state.
    const QModelIndex root = m_model->indexOf(first);
    std::vector<QModelIndex> pending{root};
    while (!pending.empty()) {
        const QModelIndex index = pending.back();
        pending.pop_back();
        if (index != root && TreeView1->isExpanded(index)) TreeView1->setExpanded(index, false);
        for (int row = 0, rows = m_model->rowCount(index); row < rows; ++row) {
            const QModelIndex child = m_model->index(row, 0, index);
            if (m_model->hasChildren(child)) pending.push_back(child);
        }
    }
    TreeView1->setExpanded(root, true);
}

void TList::Delete1Click() {
    if (m_currentNode == kNoNode || m_currentNode == m_document.tree.first()) return;
    const NodeId doomed = selectedNode();
    if (doomed == kNoNode || doomed == m_document.tree.first()) return;
    m_model->remove(doomed);
    m_currentNode = kNoNode;
    m_document.modified = true;
}

void TList::renameSelected() {
    if (m_currentNode == kNoNode) return;
    const QModelIndex index = TreeView1->currentIndex();
    if (index.isValid()) TreeView1->edit(index);
}

}  // namespace tarvelin
