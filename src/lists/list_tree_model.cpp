#include "lists/list_tree_model.h"

#include <QMimeData>
#include <QPixmap>
#include <algorithm>

#include "lists/icon_rules.h"
#include "lists/node_kinds.h"
#include "lists/path_kind_service.h"
#include "platform/desktop_shell.h"
#include "platform/display_name.h"
#include "widgets/image_list.h"

namespace tarvelin {
namespace {

// An icon not yet known takes the room of one, empty, so that the text does not move when it comes.
QIcon nodeIcon(int index) {
    if (index != icons::kNotYetKnown) return imageListIcon(index);
    static const QIcon blank = [] {
        QPixmap empty(16, 16);
        empty.fill(Qt::transparent);
        return QIcon(empty);
    }();
    return blank;
}

}  // namespace

QString shownText(const std::string& text) {
    // A character takes at most four bytes; the cut goes back to the start of one.
    size_t cut = std::min(text.size(), static_cast<size_t>(kShownCharacters) * 4);
    while (cut > 0 && cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    QString shown = displayName(std::string_view(text).substr(0, cut));
    if (shown.size() <= kShownCharacters && cut == text.size()) return shown;
    shown.truncate(kShownCharacters);
    return shown + QChar(0x2026);
}

std::string typedNodeText(const QString& typed) {
    std::string text = typed.toStdString();
    text.erase(0, text.find_first_not_of(" \t"));
    return text;
}

ListTreeModel::ListTreeModel(ListDocument& document, QObject* parent)
    : ListTreeModel(document, pathKind, parent) {}

ListTreeModel::ListTreeModel(ListDocument& document, PathProbe probe, QObject* parent)
    : QAbstractItemModel(parent), m_document(document), m_probe(std::move(probe)) {}

QModelIndex ListTreeModel::indexOf(NodeId node) const {
    if (node == kNoNode || !tree().isValid(node)) return {};
    return createIndex(static_cast<int>(tree().index(node)), 0, static_cast<quintptr>(node));
}

NodeId ListTreeModel::nodeOf(const QModelIndex& index) const {
    if (!index.isValid()) return kNoNode;
    return static_cast<NodeId>(index.internalId());
}

QModelIndex ListTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) return {};
    const std::vector<NodeId>& children = tree().children(nodeOf(parent));
    if (static_cast<size_t>(row) >= children.size()) return {};
    return createIndex(row, 0, static_cast<quintptr>(children[static_cast<size_t>(row)]));
}

QModelIndex ListTreeModel::parent(const QModelIndex& child) const {
    const NodeId node = nodeOf(child);
    if (node == kNoNode) return {};
    return indexOf(tree().parent(node));
}

int ListTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() && parent.column() != 0) return 0;
    return static_cast<int>(tree().children(nodeOf(parent)).size());
}

int ListTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool ListTreeModel::hasChildren(const QModelIndex& parent) const {
    const NodeId node = nodeOf(parent);
    return node == kNoNode ? !tree().empty() : tree().hasChildren(node);
}

QVariant ListTreeModel::data(const QModelIndex& index, int role) const {
    const NodeId node = nodeOf(index);
    if (node == kNoNode) return {};
    switch (role) {
        case Qt::DisplayRole:
            return shownText(tree().text(node));
        case Qt::EditRole:
            return displayName(tree().text(node));
        case Qt::DecorationRole:
            return nodeIcon(tree().icon(node));
        case SelectedDecorationRole:
            // Until the rule's answer comes a selected node looks as it does unselected.
            return nodeIcon(tree().selectedIcon(node) == icons::kNotYetKnown ? tree().icon(node)
                                                                             : tree().selectedIcon(node));
        case IconRole:
            return tree().icon(node);
        case SelectedIconRole:
            return tree().selectedIcon(node);
        default:
            return {};
    }
}

bool ListTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const NodeId node = nodeOf(index);
    if (node == kNoNode || role != Qt::EditRole) return false;
    const QString edited = value.toString();
    // An edit accepted unchanged keeps the text's bytes, also bytes the screen cannot show; it still counts
    // as a rename.
    setText(node, edited == displayName(tree().text(node)) ? tree().text(node) : typedNodeText(edited));
    return true;
}

Qt::ItemFlags ListTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
           Qt::ItemIsDropEnabled;
}

NodeId ListTreeModel::addChild(NodeId parent, const std::string& text) {
    const int row = static_cast<int>(tree().children(parent).size());
    beginInsertRows(indexOf(parent), row, row);
    const NodeId node = m_document.tree.addChild(parent, text);
    forgetQuestionOf(node);
    m_document.modified = true;
    endInsertRows();
    followRuleAnswer(parent);
    return node;
}

NodeId ListTreeModel::addChildren(NodeId parent, const std::vector<NewNode>& nodes) {
    if (nodes.empty()) return kNoNode;
    const int first = static_cast<int>(tree().children(parent).size());
    beginInsertRows(indexOf(parent), first, first + static_cast<int>(nodes.size()) - 1);
    NodeId added = kNoNode;
    for (const NewNode& node : nodes) {
        added = m_document.tree.addChild(parent, node.text);
        forgetQuestionOf(added);
        m_document.tree.setIcon(added, node.icon);
        m_document.tree.setSelectedIcon(added, node.selectedIcon);
    }
    m_document.modified = true;
    endInsertRows();
    followRuleAnswer(parent);
    return added;
}

QStringList ListTreeModel::mimeTypes() const {
    return {QString::fromLatin1(kListNodesMime), QStringLiteral("text/uri-list")};
}

QMimeData* ListTreeModel::mimeData(const QModelIndexList& indexes) const {
    QByteArray uris;
    for (const QModelIndex& index : indexes) {
        const NodeId node = nodeOf(index);
        if (node != kNoNode && isItem(tree(), node)) uris += fileUrlOf(tree().text(node)) + "\r\n";
    }
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kListNodesMime), QByteArray::number(indexes.size()));
    if (!uris.isEmpty()) data->setData(QStringLiteral("text/uri-list"), uris);
    return data;
}

void ListTreeModel::remove(NodeId node) {
    const QModelIndex index = indexOf(node);
    if (!index.isValid()) return;
    const NodeId parent = tree().parent(node);
    const bool ruleNodeGoes = m_ruleNode != kNoNode && tree().isInSubtree(m_ruleNode, node);
    beginRemoveRows(index.parent(), index.row(), index.row());
    m_document.tree.remove(node);
    m_document.modified = true;
    endRemoveRows();
    if (ruleNodeGoes) m_ruleNode = kNoNode;
    followRuleAnswer(parent);
}

bool ListTreeModel::move(NodeId node, NodeId destination, MoveMode mode) {
    if (tree().isInSubtree(destination, node)) return false;
    const QModelIndex source = indexOf(node);
    const NodeId newParent = mode == MoveMode::AddAsLastChild ? destination : tree().parent(destination);
    const int row = mode == MoveMode::InsertBefore ? static_cast<int>(tree().index(destination))
                                                   : static_cast<int>(tree().children(newParent).size());
    // Qt refuses a move onto the node's own place; the tree stays as it is then, apart from the expansion.
    const bool moves = beginMoveRows(source.parent(), source.row(), source.row(), indexOf(newParent), row);
    const bool wasExpanded = newParent != kNoNode && tree().isExpanded(newParent);
    const NodeId oldParent = tree().parent(node);
    m_document.tree.move(node, destination, mode);
    m_document.modified = true;
    if (moves) endMoveRows();
    followRuleAnswer(oldParent);
    followRuleAnswer(newParent);
    if (newParent != kNoNode && !wasExpanded) emit expansionChanged(newParent, false);
    return true;
}

void ListTreeModel::setText(NodeId node, std::string text) {
    m_document.tree.setText(node, std::move(text));
    m_document.modified = true;
    const QModelIndex index = indexOf(node);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    // A renamed item's selected icon follows its new text.
    if (node == m_ruleNode) applySelectedIconRule(node);
}

void ListTreeModel::announceIcons(NodeId node) {
    const QModelIndex index = indexOf(node);
    emit dataChanged(index, index, {Qt::DecorationRole, SelectedDecorationRole, IconRole, SelectedIconRole});
}

void ListTreeModel::setIcons(NodeId node, int icon, int selectedIcon) {
    forgetQuestionOf(node);  // the icon is decided: an answer still on its way does not undo it
    if (tree().icon(node) == icon && tree().selectedIcon(node) == selectedIcon) return;
    m_document.tree.setIcon(node, icon);
    m_document.tree.setSelectedIcon(node, selectedIcon);
    announceIcons(node);
}

void ListTreeModel::setExpanded(NodeId node, bool expanded, bool recursive) {
    if (node == kNoNode || (!recursive && tree().isExpanded(node) == expanded)) return;
    if (expanded)
        m_document.tree.expand(node, recursive);
    else
        m_document.tree.collapse(node, recursive);
    emit expansionChanged(node, recursive);
}

}  // namespace tarvelin
