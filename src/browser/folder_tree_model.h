#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <string>
#include <string_view>

#include "browser/folder_tree.h"

namespace tarvelin {

// The folder tree as an item model: one column, one top-level row (the root node), children read when a view
// expands a node (canFetchMore / fetchMore). Paths and names stay bytes; the display text is converted.
class FolderTreeModel final : public QAbstractItemModel, private FolderTreeObserver {
    Q_OBJECT
public:
    enum Role { PathRole = Qt::UserRole + 1 };  // the node's path as a QByteArray of the file-system bytes

    FolderTreeModel(bool showHidden, DesktopPlaces places, QObject* parent = nullptr,
                    FolderTree::FirstRead firstRead = FolderTree::FirstRead::Now);
    ~FolderTreeModel() override;

    const FolderTree& tree() const { return m_tree; }
    const std::string& root() const { return m_tree.root(); }
    QModelIndex rootIndex() const;

    // As FolderTree; a rebuild resets the model.
    bool setRoot(std::string_view root);
    bool resetVanishedRoot();
    // The root node shows this text instead of its folder's name until the next rebuild (an item's folder
    // shown with its full path).
    void setRootCaption(const QString& caption);
    // Reads the node's folder and the folders below it that were read before; kept nodes keep their indexes.
    void refresh(const QModelIndex& index);

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

private:
    void beginReset() override;
    void endReset() override;
    void beginInsert(const FolderNode& parent, size_t first, size_t last) override;
    void endInsert() override;
    void beginRemove(const FolderNode& parent, size_t first, size_t last) override;
    void endRemove() override;

    QIcon iconOf(const FolderNode& node) const;

    FolderTree m_tree;
    std::string m_home;
    std::vector<std::string> m_volumes;
    QString m_rootCaption;
    mutable QIcon m_folderIcon, m_driveIcon, m_desktopIcon, m_homeIcon;
};

}  // namespace tarvelin
