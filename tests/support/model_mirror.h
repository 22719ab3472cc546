#pragma once

#include <QAbstractItemModel>
#include <QStringList>
#include <memory>
#include <vector>

namespace tarvelin::test {

// What a view knows of a model: a copy of its rows kept up to date from the model's signals alone. Compared
// with the model read afresh, it shows a change the model made without announcing it, or announced at the
// wrong place.
class ModelMirror : public QObject {
public:
    // `role` is shown beside the text of every row (the icon index, say).
    ModelMirror(const QAbstractItemModel& model, int role);

    // "level text [role]" for every row in tree order: as the signals told it, and as the model says now.
    QStringList lines() const;
    QStringList modelLines() const;

private:
    struct Row {
        QString text;
        QString extra;
        std::vector<std::unique_ptr<Row>> children;
    };
    using Path = std::vector<int>;

    void read(Row& row, const QModelIndex& index) const;
    std::unique_ptr<Row> readRow(const QModelIndex& index) const;
    static Path pathOf(const QModelIndex& index);
    Row& rowAt(const Path& path);
    static void print(const Row& row, int level, QStringList& out);

    const QAbstractItemModel& m_model;
    int m_role;
    Row m_root;
};

}  // namespace tarvelin::test
