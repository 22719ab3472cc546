#include "browser/file_list_model.h"

#include <algorithm>

#include "browser/file_glyph.h"
#include "browser/name_case.h"
#include "browser/startup_folder.h"
#include "platform/display_name.h"
#include "platform/item_path.h"
#include "widgets/pane_drag.h"

namespace tarvelin {

FileListModel::FileListModel(QObject* parent, FileListReader::Scan scan)
    : QAbstractListModel(parent), m_reader(std::move(scan)) {
    m_reader.setNotify(
        [this] { QMetaObject::invokeMethod(this, &FileListModel::takeBatches, Qt::QueuedConnection); });
}

bool FileListModel::showFolder(std::string_view folder) {
    if (normaliseFolder(folder) == m_list.folder()) return false;
    read(folder, m_list.mask());
    return true;
}

bool FileListModel::setMask(std::string_view mask) {
    if (mask == m_list.mask()) return false;
    read(m_list.folder(), mask);
    return true;
}

void FileListModel::reread() {
    read(m_list.folder(), m_list.mask());
}

void FileListModel::read(std::string_view folder, std::string_view mask) {
    // Copies: `folder` and `mask` may be the list's own.
    const std::string readFolder(folder);
    const std::string readMask(mask);
    beginResetModel();
    m_list.startReading(readFolder, readMask);
    endResetModel();
    m_reader.cancel();
    if (!m_list.beingRead()) return;
    // The start-up reading answers without waiting, or not at all.
    if (std::optional<FolderListing> startup = takeStartupListing(m_list.folder(), m_list.mask())) {
        insertSorted(std::move(startup->names));
        finishReading(startup->error);
        return;
    }
    m_reader.read(m_list.folder(), m_list.mask());
}

void FileListModel::takeBatches() {
    std::vector<FileListReader::Batch> batches = m_reader.takeBatches();
    if (batches.empty()) return;
    // Batches that waited together go in as one.
    std::vector<std::string> names = std::move(batches.front().names);
    for (size_t i = 1; i < batches.size(); ++i)
        names = mergeWithoutCase(std::move(names), std::move(batches[i].names));
    insertSorted(std::move(names));
    if (batches.back().last) finishReading(batches.back().error);
}

void FileListModel::insertSorted(std::vector<std::string>&& names) {
    if (names.empty()) return;
    // Inserted rows keep the view's selection, focused item and scrolling; but each place moves the list's
    // tail and is announced on its own, and past a bound the rows are laid out anew instead.
    constexpr size_t kMostPlaces = 64;
    constexpr size_t kMostMoves = size_t{1} << 20;
    const std::vector<FileList::Run> runs = m_list.insertionRuns(names);
    if (runs.size() == 1 ||
        (runs.size() <= kMostPlaces && runs.size() * (m_list.size() + names.size()) <= kMostMoves)) {
        for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
            const int at = static_cast<int>(run->at);
            beginInsertRows({}, at, at + static_cast<int>(run->count) - 1);
            m_list.insert(*run, names);
            endInsertRows();
        }
        return;
    }
    beginResetModel();
    m_list.merge(std::move(names));
    endResetModel();
}

void FileListModel::finishReading(int error) {
    m_list.finishReading(error);
    emit readingFinished();
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_list.size());
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
    const std::string& name = m_list.name(static_cast<size_t>(index.row()));
    switch (role) {
        case Qt::DisplayRole:
            return displayName(name);
        case NameRole:
            return QByteArray::fromStdString(name);
        case PathRole:
            return QByteArray::fromStdString(m_list.itemPath(static_cast<size_t>(index.row())));
        case GlyphRole:
            return static_cast<int>(fileGlyph(name));
        default:
            return {};
    }
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

QStringList FileListModel::mimeTypes() const {
    return {QStringLiteral("text/uri-list"), QString::fromLatin1(kPanePathsMime)};
}

QMimeData* FileListModel::mimeData(const QModelIndexList& indexes) const {
    std::vector<int> rows;
    rows.reserve(static_cast<size_t>(indexes.size()));
    for (const QModelIndex& index : indexes)
        if (index.isValid() && index.model() == this && index.row() < rowCount()) rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<std::string> paths;
    paths.reserve(rows.size());
    for (int row : rows) paths.push_back(m_list.itemPath(static_cast<size_t>(row)));
    return makePaneDragData(paths, PathKind::File);
}

Qt::DropActions FileListModel::supportedDragActions() const {
    return Qt::CopyAction | Qt::LinkAction;
}

}  // namespace tarvelin
