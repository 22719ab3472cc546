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
    m_model->setIcons(binder, icons::kEmptyBinder, icons::kEmptyBinder);
    m_model->setExpanded(parent, true, false);
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
    m_model->setExpanded(first, true, true);
}

void TList::N15Click() {
    const NodeId first = m_document.tree.first();
    if (first == kNoNode) return;
    // Everything under the first node closes; other top-level nodes keep their state.
    m_model->setExpanded(first, false, true);
    m_model->setExpanded(first, true, false);
}

void TList::Delete1Click() {
    if (m_currentNode == kNoNode || m_currentNode == m_document.tree.first()) return;
    const NodeId doomed = selectedNode();
    if (doomed == kNoNode || doomed == m_document.tree.first()) return;
    m_model->remove(doomed);
    m_currentNode = kNoNode;
}

void TList::renameSelected() {
    if (m_currentNode == kNoNode) return;
    const QModelIndex index = TreeView1->currentIndex();
    if (index.isValid()) TreeView1->edit(index);
}

}  // namespace tarvelin
