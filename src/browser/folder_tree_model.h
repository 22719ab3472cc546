#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "browser/folder_tree.h"
#include "browser/folder_tree_reader.h"

namespace tarvelin {

// The folder tree as an item model: one column, one top-level row (the root node), children read when a view
// expands a node (canFetchMore / fetchMore). Paths and names stay bytes; the display text is converted.
// Folders are read on worker threads: a node being read for the first time shows its subfolders as they come
// and, below them, a row saying it is being read; an answer for a node gone meanwhile is dropped.
class FolderTreeModel final : public QAbstractItemModel, private FolderTreeObserver {
    Q_OBJECT
    Q_PROPERTY(bool beingRead READ beingRead)
public:
    enum Role { PathRole = Qt::UserRole + 1 };  // the node's path as a QByteArray of the file-system bytes
    static constexpr std::string_view kBeingRead = "読み込み中…";

    FolderTreeModel(bool showHidden, DesktopPlaces places, QObject* parent = nullptr,
                    FolderTree::FirstRead firstRead = FolderTree::FirstRead::Now,
                    FolderTreeReader::Scan scan = {});
    ~FolderTreeModel() override;

    const FolderTree& tree() const { return m_tree; }
    const std::string& root() const { return m_tree.root(); }
    QModelIndex rootIndex() const;

    // Whether a reading is under way.
    bool beingRead() const { return !m_readings.empty() || m_rootCheck != 0; }

    // As FolderTree; a rebuild resets the model and starts reading the new root's first level.
    bool setRoot(std::string_view root);
    // setRoot(), and back to the desktop when the folder turns out not to exist.
    void setRootIfFolder(std::string_view root);
    // The root node shows this text instead of its folder's name until the next rebuild (an item's folder
    // shown with its full path).
    void setRootCaption(const QString& caption);
    // Reads the node's folder and the folders below it that were read before; kept nodes keep their indexes.
    void refresh(const QModelIndex& index);
    // refresh() of `top`, and when the root is a folder that turns out gone, the desktop as root instead.
    void refreshFromTop(const QModelIndex& top);

    FolderNode* nodeAt(const QModelIndex& index) const;
    std::string pathOf(const QModelIndex& index) const;  // empty for an invalid index
    QModelIndex indexOf(const FolderNode& node) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The tree shows no header: neither its caption nor its size may widen the column.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;

signals:
    // Before the children first..last of `parent` go (also with what lies below them).
    void nodesAboutToGo(const QModelIndex& parent, int first, int last);
    // A refresh of `node` was taken in.
    void refreshed(const QModelIndex& node);

private:
    enum class Reading { First, Refresh };
    struct Pending {
        std::uint64_t ticket;
        Reading kind;
        std::vector<std::string> names;  // of a refresh, gathered until the reading is over
        bool refreshAfter = false;       // a first reading was asked to refresh: it may have read too early
    };

    void startReading(FolderNode& node, Reading kind);
    void takeBatches();
    void take(FolderNode& node, FolderTreeReader::Batch& batch);
    void dropReading(FolderNode& node);
    bool showsBeingRead(const FolderNode& node) const;
    const FolderNode* placeholderParent(const QModelIndex& index) const;

    void beginReset() override;
    void endReset() override;
    void beginInsert(const FolderNode& parent, size_t first, size_t last) override;
    void endInsert() override;
    void beginRemove(const FolderNode& parent, size_t first, size_t last) override;
    void endRemove() override;
    void beginReorder(const FolderNode& parent) override;
    void endReorder(const FolderNode& parent) override;

    QIcon iconOf(const FolderNode& node) const;

    FolderTree m_tree;
    FolderTreeReader m_reader;
    std::unordered_map<FolderNode*, Pending> m_readings;
    std::unordered_map<std::uint64_t, FolderNode*> m_nodeOfTicket;
    std::uint64_t m_rootCheck = 0;  // the ticket of the reading that tells whether the root folder is gone
    bool m_desktopIfRootGone = false;
    bool m_nodesGoing = false;  // between the announcement of a removal or reset and its end
    std::string m_home;
    std::vector<std::string> m_volumes;
    QString m_rootCaption;
    mutable QIcon m_folderIcon, m_driveIcon, m_desktopIcon, m_homeIcon;
};

}  // namespace tarvelin
