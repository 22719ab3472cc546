#pragma once

#include <QAbstractListModel>
#include <string>
#include <string_view>
#include <vector>

#include "browser/file_list.h"

namespace tarvelin {

// A file list as an item model: one row per listed name. Every re-read resets the model, which clears the
// view's selection and focused item.
class FileListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        NameRole = Qt::UserRole + 1,  // the name's bytes (QByteArray)
        PathRole,                     // the item path's bytes (QByteArray)
        GlyphRole,                    // FileGlyph as int
    };

    explicit FileListModel(QObject* parent = nullptr);

    const FileList& list() const { return m_list; }
    const std::string& folder() const { return m_list.folder(); }
    const std::string& mask() const { return m_list.mask(); }

    // As FileList: nothing is re-read when the folder or the mask is unchanged. Return whether it was.
    bool showFolder(std::string_view folder);
    bool setMask(std::string_view mask);
    void reread();

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    // The item paths of the rows in list order, whatever the order of `indexes`.
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;

private:
    FileList m_list;
};

}  // namespace tarvelin
