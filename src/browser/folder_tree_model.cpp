#include "browser/folder_tree_model.h"

#include <algorithm>
#include <cerrno>

#include "browser/name_case.h"
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

// The row saying a node is being read carries the node with its lowest bit set: nodes are aligned.
constexpr quintptr kBeingReadTag = 1;

bool isGone(int error) {
    return error == ENOENT || error == ENOTDIR;
}

}  // namespace

FolderTreeModel::FolderTreeModel(bool showHidden, DesktopPlaces places, QObject* parent,
                                 FolderTree::FirstRead firstRead, FolderTreeReader::Scan scan)
    : QAbstractItemModel(parent),
      m_tree(showHidden, places, FolderTree::FirstRead::WhenAsked),
      m_reader(showHidden, std::move(scan)),
      m_home(normaliseFolder(places.home)),
      m_volumes(std::move(places.volumes)) {
    for (std::string& volume : m_volumes) volume = normaliseFolder(volume);
    m_tree.setObserver(this);
    m_reader.setNotify([this] {
        QMetaObject::invokeMethod(
            this, [this] { takeBatches(); }, Qt::QueuedConnection);
    });
    if (firstRead == FolderTree::FirstRead::Now) startReading(m_tree.rootNode(), Reading::First);
}

FolderTreeModel::~FolderTreeModel() {
    m_tree.setObserver(nullptr);
}

QModelIndex FolderTreeModel::rootIndex() const {
    return createIndex(0, 0, &m_tree.rootNode());
}

bool FolderTreeModel::setRoot(std::string_view root) {
    if (!m_tree.setRoot(root, FolderTree::FirstRead::WhenAsked)) return false;
    startReading(m_tree.rootNode(), Reading::First);
    return true;
}

void FolderTreeModel::setRootIfFolder(std::string_view root) {
    if (setRoot(root)) m_desktopIfRootGone = true;
}

void FolderTreeModel::setRootCaption(const QString& caption) {
    m_rootCaption = caption;
    const QModelIndex root = rootIndex();
    emit dataChanged(root, root, {Qt::DisplayRole});
}

void FolderTreeModel::refresh(const QModelIndex& index) {
    FolderNode* node = nodeAt(index);
    if (!node) return;
    if (node->childrenRead())
        startReading(*node, Reading::Refresh);
    else if (const auto first = m_readings.find(node); first != m_readings.end())
        first->second.refreshAfter = true;
}

void FolderTreeModel::refreshFromTop(const QModelIndex& top) {
    if (!m_tree.rootNode().isDesktop()) m_rootCheck = m_reader.read(m_tree.rootNode().path());
    refresh(top);
}

void FolderTreeModel::startReading(FolderNode& node, Reading kind) {
    if (const auto under = m_readings.find(&node); under != m_readings.end())
        m_nodeOfTicket.erase(under->second.ticket);  // superseded
    const std::uint64_t ticket = m_reader.read(node.path());
    m_nodeOfTicket[ticket] = &node;
    if (kind == Reading::Refresh) {
        m_readings[&node] = {ticket, kind, {}};
        return;
    }
    m_tree.startChildren(node);
    const int row = static_cast<int>(node.childCount());
    beginInsertRows(indexOf(node), row, row);
    m_readings[&node] = {ticket, kind, {}};
    endInsertRows();
}

void FolderTreeModel::takeBatches() {
    for (FolderTreeReader::Batch& batch : m_reader.takeBatches()) {
        if (batch.ticket == m_rootCheck) {
            m_rootCheck = 0;
            if (isGone(batch.error)) setRoot(FolderTree::kDesktop);
            continue;
        }
        // Looked up for each batch: taking one may remove nodes or rebuild the tree.
        if (const auto node = m_nodeOfTicket.find(batch.ticket); node != m_nodeOfTicket.end())
            take(*node->second, batch);
    }
}

void FolderTreeModel::take(FolderNode& node, FolderTreeReader::Batch& batch) {
    Pending& pending = m_readings.at(&node);
    if (pending.kind == Reading::Refresh) {
        pending.names = mergeWithoutCase(std::move(pending.names), std::move(batch.names));
        if (!batch.last) return;
        std::vector<std::string> names = std::move(pending.names);
        dropReading(node);
        m_tree.refreshWith(node, std::move(names), batch.error);
        emit refreshed(indexOf(node));
        for (size_t row = 0; row < node.childCount(); ++row)
            if (node.child(row).childrenRead()) startReading(node.child(row), Reading::Refresh);
        return;
    }
    m_tree.addChildren(node, std::move(batch.names));
    if (!batch.last) return;
    const bool refreshAfter = pending.refreshAfter;
    const QModelIndex index = indexOf(node);
    const int row = static_cast<int>(node.childCount());
    emit nodesAboutToGo(index, row, row);
    beginRemoveRows(index, row, row);
    dropReading(node);
    m_tree.finishChildren(node, batch.error);
    endRemoveRows();
    if (&node == &m_tree.rootNode() && std::exchange(m_desktopIfRootGone, false) && isGone(batch.error)) {
        setRoot(FolderTree::kDesktop);
        return;
    }
    // A folder that turned out empty loses its expander.
    if (node.childCount() == 0) emit dataChanged(index, index);
    if (refreshAfter) startReading(node, Reading::Refresh);
}

void FolderTreeModel::dropReading(FolderNode& node) {
    if (const auto reading = m_readings.find(&node); reading != m_readings.end()) {
        m_nodeOfTicket.erase(reading->second.ticket);
        m_readings.erase(reading);
    }
}

bool FolderTreeModel::showsBeingRead(const FolderNode& node) const {
    const auto reading = m_readings.find(const_cast<FolderNode*>(&node));
    return reading != m_readings.end() && reading->second.kind == Reading::First &&
           reading->second.ticket != 0;
}

const FolderNode* FolderTreeModel::placeholderParent(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this || !(index.internalId() & kBeingReadTag)) return nullptr;
    return reinterpret_cast<const FolderNode*>(index.internalId() & ~kBeingReadTag);
}

FolderNode* FolderTreeModel::nodeAt(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this || (index.internalId() & kBeingReadTag)) return nullptr;
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
    if (!node) return {};
    const auto at = static_cast<size_t>(row);
    if (at < node->childCount()) return createIndex(row, 0, &node->child(at));
    if (at == node->childCount() && showsBeingRead(*node))
        return createIndex(row, 0, reinterpret_cast<quintptr>(node) | kBeingReadTag);
    return {};
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const {
    if (const FolderNode* reading = placeholderParent(child)) return indexOf(*reading);
    const FolderNode* node = nodeAt(child);
    if (!node || !node->parent()) return {};
    return indexOf(*node->parent());
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return 1;
    if (parent.column() != 0) return 0;
    const FolderNode* node = nodeAt(parent);
    return node ? static_cast<int>(node->childCount()) + (showsBeingRead(*node) ? 1 : 0) : 0;
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
    FolderNode* node = nodeAt(parent);
    // Nothing is fetched for nodes about to go.
    return node && !node->childrenRead() && !m_readings.contains(node) && !m_nodesGoing;
}

void FolderTreeModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) return;
    // Views also fetch while they take in another change: the reading starts, with its row, after that.
    FolderNode* node = nodeAt(parent);
    m_readings[node] = {0, Reading::First, {}};
    QMetaObject::invokeMethod(
        this,
        [this, node] {
            // Not there any more when the node went or the tree was rebuilt meanwhile.
            if (const auto queued = m_readings.find(node);
                queued != m_readings.end() && queued->second.ticket == 0) {
                m_readings.erase(queued);
                startReading(*node, Reading::First);
            }
        },
        Qt::QueuedConnection);
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
    if (placeholderParent(index) && role == Qt::DisplayRole) return QString::fromUtf8(kBeingRead);
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
    m_reader.cancelAll();
    m_readings.clear();
    m_nodeOfTicket.clear();
    m_rootCheck = 0;
    m_desktopIfRootGone = false;
    m_nodesGoing = true;
    beginResetModel();
    m_rootCaption.clear();
}

void FolderTreeModel::endReset() {
    m_nodesGoing = false;
    endResetModel();
}

void FolderTreeModel::beginInsert(const FolderNode& parent, size_t first, size_t last) {
    beginInsertRows(indexOf(parent), static_cast<int>(first), static_cast<int>(last));
}

void FolderTreeModel::endInsert() {
    endInsertRows();
}

void FolderTreeModel::beginRemove(const FolderNode& parent, size_t first, size_t last) {
    const QModelIndex index = indexOf(parent);
    m_nodesGoing = true;
    emit nodesAboutToGo(index, static_cast<int>(first), static_cast<int>(last));
    // Readings of the nodes that go, or of nodes below them, are answered no more.
    const auto goes = [&](const FolderNode* node) {
        for (; node->parent(); node = node->parent())
            if (node->parent() == &parent && node->row() >= first && node->row() <= last) return true;
        return false;
    };
    for (auto reading = m_readings.begin(); reading != m_readings.end();) {
        if (goes(reading->first)) {
            m_nodeOfTicket.erase(reading->second.ticket);
            reading = m_readings.erase(reading);
        } else {
            ++reading;
        }
    }
    beginRemoveRows(index, static_cast<int>(first), static_cast<int>(last));
}

void FolderTreeModel::endRemove() {
    m_nodesGoing = false;
    endRemoveRows();
}

void FolderTreeModel::beginReorder(const FolderNode& parent) {
    emit layoutAboutToBeChanged({indexOf(parent)}, QAbstractItemModel::VerticalSortHint);
}

void FolderTreeModel::endReorder(const FolderNode& parent) {
    const QModelIndexList kept = persistentIndexList();
    for (const QModelIndex& index : kept)
        if (const FolderNode* node = nodeAt(index); node && node->parent() == &parent)
            changePersistentIndex(index, indexOf(*node));
    emit layoutChanged({indexOf(parent)}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace tarvelin
