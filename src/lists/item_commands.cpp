// What a list window does with its items: open them, show their folders in the file panes.
#include "lists/item_actions.h"
#include "lists/list_tree_model.h"
#include "lists/list_window.h"
#include "lists/list_window_host.h"
#include "lists/node_kinds.h"
#include "platform/display_name.h"
#include "platform/shell.h"
#include "widgets/error_handler.h"

namespace tarvelin {

void TList::withSelectedItem(std::function<void(const std::string& path, PathKind kind)> action,
                             bool sayWhenMissing) {
    const NodeId node = selectedNode();
    if (m_currentNode == kNoNode || node == kNoNode || node == m_document.tree.first()) return;
    const std::string path = m_document.tree.text(node);
    // Only a text that names a path can be missing; a binder's name is no item and stays silent.
    sayWhenMissing = sayWhenMissing && looksLikePath(path);
    askPathKind(this, m_services.pathProbe, path,
                [this, path, sayWhenMissing, action = std::move(action)](PathKind kind) {
                    // An item whose file went since the list was read is no item any more.
                    if (kind != PathKind::Absent)
                        action(path, kind);
                    else if (sayWhenMissing)
                        m_host.itemNotFound(path);
                });
}

void TList::TreeView1DblClick() {
    withSelectedItem(
        [this](const std::string& path, PathKind kind) {
            if (kind == PathKind::File && isListDocument(path)) {
                m_host.openNestedList(path);
                return;
            }
            if (!m_services.shell.openPath(path))
                m_services.dialogs.message(
                    QStringLiteral("%1 を開くプログラムが見つかりません").arg(displayName(path)));
        },
        true);
}

void TList::TreeView1Click() {
    withSelectedItem([this](const std::string& path, PathKind kind) {
        m_host.showItemFolder(itemFolder(path, kind), false);
    });
}

void TList::N19Click() {
    withSelectedItem([this](const std::string& path, PathKind kind) {
        m_host.showItemFolder(itemFolder(path, kind), true);
    });
}

}  // namespace tarvelin
