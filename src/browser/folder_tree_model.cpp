#include "browser/folder_tree_model.h"

#include <algorithm>

#include "platform/display_name.h"
#include "platform/item_path.h"
#include "widgets/image_list.h"
#include "widgets/pane_drag.h"

namespace tarvelin {
namespace {

// The image list's pictures the tree shares.
constexpr int kFolderPicture = 2;
constexpr int kDesktopPicture = 20;

// The desktop's icon theme when it has one; otherwise the program's own pictures, compiled in. The toolkit's
// fallback pictures are PNG files, and reading the first has every image plugin loaded to look at it.
QIcon placeIcon(const QString& themeName, const QIcon& own) {
    const QString theme = QIcon::themeName();
    if (!theme.isEmpty() && theme != QLatin1String("hicolor") && QIcon::hasThemeIcon(themeName))
        return QIcon::fromTheme(themeName);
    return own;
}

}  // namespace

FolderTreeModel::FolderTreeModel(bool showHidden, DesktopPlaces places, QObject* parent,
                                 FolderTree::FirstRead firstRead)
    : QAbstractItemModel(parent),
      m_tree(showHidden, places, firstRead),
      m_home(normaliseFolder(places.home)),
      m_volumes(std::move(places.volumes)) {
    for (std::string& volume : m_volumes) volume = normaliseFolder(volume);
    m_tree.setObserver(this);
}

FolderTreeModel::~FolderTreeModel() {
    m_tree.setObserver(nullptr);
}

QModelIndex FolderTreeModel::rootIndex() const {
    return createIndex(0, 0, &m_tree.rootNode());
}

bool FolderTreeModel::setRoot(std::string_view root) {
    return m_tree.setRoot(root);
}

void FolderTreeModel::setRootCaption(const QString& caption) {
    m_rootCaption = caption;
    const QModelIndex root = rootIndex();
    emit dataChanged(root, root, {Qt::DisplayRole});
}

bool FolderTreeModel::resetVanishedRoot() {
    return m_tree.resetVanishedRoot();
}

void FolderTreeModel::refresh(const QModelIndex& index) {
    if (FolderNode* node = nodeAt(index)) m_tree.refresh(*node);
}

FolderNode* FolderTreeModel::nodeAt(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) return nullptr;
    return static_cast<FolderNode*>(index.internalPointer());
}

std::string FolderTreeModel::pathOf(const QModelIndex& index) const {
    const FolderNode* node = nodeAt(index);
    return node ? node->path() : std::string();
}

QModelIndex FolderTreeModel::indexOf(const FolderNode& node) const {
    return createIndex(static_cast<int>(node.row()), 0, const_cast<FolderNode*>(&node));
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) return {};
    if (!parent.isValid()) return row == 0 ? rootIndex() : QModelIndex();
    const FolderNode* node = nodeAt(parent);
    if (!node || static_cast<size_t>(row) >= node->childCount()) return {};
    return createIndex(row, 0, &node->child(static_cast<size_t>(row)));
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const {
    const FolderNode* node = nodeAt(child);
    if (!node || !node->parent()) return {};
    return indexOf(*node->parent());
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return 1;
    if (parent.column() != 0) return 0;
    const FolderNode* node = nodeAt(parent);
    return node ? static_cast<int>(node->childCount()) : 0;
}

int FolderTreeModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() && parent.column() != 0 ? 0 : 1;
}

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const {
    if (!parent.isValid()) return true;
    const FolderNode* node = nodeAt(parent);
    if (!node || parent.column() != 0) return false;
    // Until it is read a folder shows an expander, as the disk is not asked before the user opens it.
    return !node->childrenRead() || node->childCount() > 0;
}

bool FolderTreeModel::canFetchMore(const QModelIndex& parent) const {
    const FolderNode* node = nodeAt(parent);
    return node && !node->childrenRead();
}

void FolderTreeModel::fetchMore(const QModelIndex& parent) {
    if (FolderNode* node = nodeAt(parent); node && !node->childrenRead()) {
        m_tree.readChildren(*node);
        // A folder that turned out empty loses its expander.
        if (node->childCount() == 0) emit dataChanged(parent, parent);
    }
}

QIcon FolderTreeModel::iconOf(const FolderNode& node) const {
    if (m_folderIcon.isNull()) {
        m_folderIcon = placeIcon(QStringLiteral("folder"), imageListIcon(kFolderPicture));
        m_driveIcon = placeIcon(QStringLiteral("drive-harddisk"), driveIcon());
        m_desktopIcon = placeIcon(QStringLiteral("user-desktop"), imageListIcon(kDesktopPicture));
        m_homeIcon = placeIcon(QStringLiteral("user-home"), imageListIcon(kFolderPicture));
    }
    if (node.isDesktop()) return m_desktopIcon;
    const std::string& path = node.path();
    // Only the places at the top are told apart: the same folder elsewhere in the tree is a plain folder.
    const bool place = !node.parent() || node.parent()->isDesktop();
    if (place && path == "/") return m_driveIcon;
    if (place && std::find(m_volumes.begin(), m_volumes.end(), path) != m_volumes.end()) return m_driveIcon;
    if (place && path == m_home) return m_homeIcon;
    return m_folderIcon;
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const {
    const FolderNode* node = nodeAt(index);
    if (!node) return {};
    switch (role) {
        case Qt::DisplayRole:
            if (!m_rootCaption.isEmpty() && node == &m_tree.rootNode()) return m_rootCaption;
            return displayName(node->name());
        case Qt::DecorationRole:
            return iconOf(*node);
        case PathRole:
            return QByteArray::fromStdString(node->path());
        default:
            return {};
    }
}

QVariant FolderTreeModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::SizeHintRole) return QSize(0, 0);
    return QAbstractItemModel::headerData(section, orientation, role);
}

Qt::ItemFlags FolderTreeModel::flags(const QModelIndex& index) const {
    if (!nodeAt(index)) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QStringList FolderTreeModel::mimeTypes() const {
    return {QStringLiteral("text/uri-list"), QString::fromLatin1(kPanePathsMime)};
}

QMimeData* FolderTreeModel::mimeData(const QModelIndexList& indexes) const {
    std::vector<std::string> paths;
    for (const QModelIndex& index : indexes)
        if (const FolderNode* node = nodeAt(index)) paths.push_back(node->path());
    return makePaneDragData(paths, PathKind::Folder);
}

Qt::DropActions FolderTreeModel::supportedDragActions() const {
    // No Move: a program taking the drop would move the folder away under a tree that does not watch the
    // disk.
    return Qt::CopyAction | Qt::LinkAction;
}

void FolderTreeModel::beginReset() {
    beginResetModel();
    m_rootCaption.clear();
}

void FolderTreeModel::endReset() {
    endResetModel();
}

void FolderTreeModel::beginInsert(const FolderNode& parent, size_t first, size_t last) {
    beginInsertRows(indexOf(parent), static_cast<int>(first), static_cast<int>(last));
}

void FolderTreeModel::endInsert() {
    endInsertRows();
}

void FolderTreeModel::beginRemove(const FolderNode& parent, size_t first, size_t last) {
    beginRemoveRows(indexOf(parent), static_cast<int>(first), static_cast<int>(last));
}

void FolderTreeModel::endRemove() {
    endRemoveRows();
}

}  // namespace tarvelin
