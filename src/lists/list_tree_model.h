#pragma once

#include <QAbstractItemModel>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "lists/icon_rules.h"
#include "lists/list_document.h"
#include "platform/path_kind.h"

namespace tarvelin {

class PathKindService;

// The mark of a drag of nodes out of a binder tree; the drop learns which tree from the event's source.
inline constexpr char kListNodesMime[] = "application/x-tarvelin2-list-nodes";

// The list document's tree as the binder tree shows it: one column, the node's text, its icon from the shared
// image list. A node's handle is the index's internal id.
//
// The model is the only writer of the tree: every change is announced to the views, and the changes of
// content (inserts, removals, moves, renames) mark the document modified; icons and expansion do not.
//
// What node texts name on disk is asked on worker threads, never on the window's: a node whose answer has
// not come shows an icon not yet known (icons::kNotYetKnown), neither missing nor present, and its icon
// settles, announced, when the answer comes. A volume that never answers leaves its nodes so.
class ListTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Role {
        IconRole = Qt::UserRole + 1,  // the image list index as int
        SelectedIconRole,             // the same, of the selected-state image
        SelectedDecorationRole,       // the selected-state image as QIcon
    };

    explicit ListTreeModel(ListDocument& document, QObject* parent = nullptr);
    ListTreeModel(ListDocument& document, PathProbe probe, QObject* parent = nullptr);
    ~ListTreeModel() override;

    const ListDocument& document() const { return m_document; }
    const ListTree& tree() const { return m_document.tree; }
    bool isModified() const { return m_document.modified; }
    // The document was written: it matches its file again.
    void markSaved() { m_document.modified = false; }

    QModelIndex indexOf(NodeId node) const;
    NodeId nodeOf(const QModelIndex& index) const;

    // Replaces the whole tree (reading a file): views drop their state.
    // Reading leaves the document unmodified.
    template <typename Change>
    void reset(Change change) {
        beginResetModel();
        try {
            change(m_document);
        } catch (...) {
            endResetModel();
            throw;
        }
        endResetModel();
    }

    NodeId addChild(NodeId parent, const std::string& text);
    struct NewNode {
        std::string text;
        int icon = 0;
        int selectedIcon = 0;
    };
    // Appends the nodes as the last children of parent under one insert announcement, however many they are.
    // Returns the last node added, kNoNode when there were none.
    NodeId addChildren(NodeId parent, const std::vector<NewNode>& nodes);
    // A change the user made that the tree does not show, such as a drop that added nothing.
    void markModified() { m_document.modified = true; }
    void remove(NodeId node);
    // As ListTree::move, announced as one row move, the new parent expanded; false, changing nothing, for a
    // move into the node's own subtree.
    bool move(NodeId node, NodeId destination, MoveMode mode);
    void setText(NodeId node, std::string text);
    void setIcons(NodeId node, int icon, int selectedIcon);
    // Reads the list file into the tree (errors propagate, with what was read kept and no icons given) and
    // starts the icon assignment: the root gets its icon (and, on opening, is expanded one level) at once,
    // every other node when the disk has answered for its text.
    void load(const std::string& path, IconAssignment which);
    // True while a node given by load, or the selected icon rule, still waits for its answer.
    bool iconsPending() const;
    // The selected icon rule for the node that has just become the selected one (kNoNode: none). Until the
    // disk answers, the node keeps the selected icon an earlier answer gave it, else the one its icon tells,
    // else none known.
    void applySelectedIconRule(NodeId node);
    // Views follow through expansionChanged; expanding a node that is expanded announces nothing.
    void setExpanded(NodeId node, bool expanded, bool recursive);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    // The dragged nodes for this tree, and the paths of those that are items as file URLs for other programs.
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    // Other programs may copy or link an item, never move it away.
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction | Qt::LinkAction; }
    Qt::DropActions supportedDropActions() const override { return Qt::CopyAction | Qt::LinkAction; }

signals:
    // The expanded state of the node changed (recursive: of every node below it too).
    void expansionChanged(NodeId node, bool recursive);

private:
    void announceIcons(NodeId node);
    void announceIcons(std::vector<NodeId> nodes);
    PathKindService& kinds();
    void takeAnswers();
    // A node handle may be reused once its node is gone: a question of a node added since is dropped.
    void forgetQuestionOf(NodeId node);
    // When node is the rule's and its answer has come, sets its selected icon from that answer and the
    // children it has now (they changed), without asking again.
    void followRuleAnswer(NodeId node);

    ListDocument& m_document;
    PathProbe m_probe;
    std::unique_ptr<PathKindService> m_kinds;
    IconAssignment m_assignment = IconAssignment::OnOpening;
    std::uint32_t m_serial = 0;          // of the last load's questions, and of the rule's
    std::vector<std::uint32_t> m_asked;  // per node handle: the serial of its open question, 0 for none
    NodeId m_ruleNode = kNoNode;         // the node the selected icon rule last ran for
    std::uint32_t m_ruleSerial = 0;
    std::optional<PathKind> m_ruleKind;  // its answer, once come
};

// What the tree shows of a node's text: at most kShownCharacters and "…", so that a text of megabytes is laid
// out and painted at once. The document and the in-place editor keep the whole text.
inline constexpr qsizetype kShownCharacters = 1000;
QString shownText(const std::string& text);

// A node's text from a name the user typed. Leading blanks are not kept: the file would read them back as a
// deeper level and fail to open.
std::string typedNodeText(const QString& typed);

}  // namespace tarvelin
