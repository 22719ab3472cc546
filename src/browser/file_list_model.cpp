#include "browser/file_list_model.h"

#include <algorithm>

#include "browser/file_glyph.h"
#include "platform/display_name.h"
#include "platform/item_path.h"
#include "widgets/pane_drag.h"

namespace tarvelin {

FileListModel::FileListModel(QObject* parent) : QAbstractListModel(parent) {}

bool FileListModel::showFolder(std::string_view folder) {
    if (normaliseFolder(folder) == m_list.folder()) return false;
    beginResetModel();
    m_list.showFolder(folder);
    endResetModel();
    return true;
}

bool FileListModel::setMask(std::string_view mask) {
    if (mask == m_list.mask()) return false;
    beginResetModel();
    m_list.setMask(mask);
    endResetModel();
    return true;
}

void FileListModel::reread() {
    beginResetModel();
    m_list.reread();
    endResetModel();
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
