#pragma once

#include <QAbstractListModel>
#include <string>
#include <string_view>
#include <vector>

#include "browser/file_list.h"
#include "browser/file_list_reader.h"

namespace tarvelin {

// A file list as an item model: one row per listed name. Folders are read off the window's thread: a re-read
// resets the model, which clears the view's selection and focused item, and the names then come in at their
// sorted places as they are read.
class FileListModel final : public QAbstractListModel {
    Q_OBJECT
    Q_PROPERTY(bool beingRead READ beingRead NOTIFY readingFinished)
public:
    enum Role {
        NameRole = Qt::UserRole + 1,  // the name's bytes (QByteArray)
        PathRole,                     // the item path's bytes (QByteArray)
        GlyphRole,                    // FileGlyph as int
    };

    explicit FileListModel(QObject* parent = nullptr, FileListReader::Scan scan = scanFolder);

    const FileList& list() const { return m_list; }
    const std::string& folder() const { return m_list.folder(); }
    const std::string& mask() const { return m_list.mask(); }

    // As FileList: nothing is re-read when the folder or the mask is unchanged. Return whether it was.
    bool showFolder(std::string_view folder);
    bool setMask(std::string_view mask);
    void reread();
    // The folder shown has not been read to its end yet.
    bool beingRead() const { return m_list.beingRead(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    // The item paths of the rows in list order, whatever the order of `indexes`.
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;

signals:
    // The folder was read to its end, or could not be read.
    void readingFinished();

private:
    void read(std::string_view folder, std::string_view mask);
    void takeBatches();
    void insertSorted(std::vector<std::string>&& names);
    void finishReading(int error);

    FileList m_list;
    FileListReader m_reader;
};

}  // namespace tarvelin
