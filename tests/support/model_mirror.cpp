#include "support/model_mirror.h"

#include <algorithm>

namespace tarvelin::test {

ModelMirror::ModelMirror(const QAbstractItemModel& model, int role) : m_model(model), m_role(role) {
    read(m_root, {});
    connect(&model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex& parent, int first, int last) {
                Row& row = rowAt(pathOf(parent));
                for (int i = first; i <= last; ++i)
                    row.children.insert(row.children.begin() + i, readRow(m_model.index(i, 0, parent)));
            });
    connect(&model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex& parent, int first, int last) {
                Row& row = rowAt(pathOf(parent));
                row.children.erase(row.children.begin() + first, row.children.begin() + last + 1);
            });
    // Paths are taken before the move, while the indexes still name the rows the mirror holds; the rows move
    // when the model says it has moved them.
    auto pending = std::make_shared<std::pair<Path, Path>>();
    connect(&model, &QAbstractItemModel::rowsAboutToBeMoved, this,
            [pending](const QModelIndex& source, int, int, const QModelIndex& destination, int) {
                *pending = {pathOf(source), pathOf(destination)};
            });
    connect(&model, &QAbstractItemModel::rowsMoved, this,
            [this, pending](const QModelIndex&, int first, int last, const QModelIndex&, int to) {
                Row& from = rowAt(pending->first);
                Row& into = rowAt(pending->second);
                std::vector<std::unique_ptr<Row>> moving;
                for (int i = first; i <= last; ++i) moving.push_back(std::move(from.children[i]));
                from.children.erase(from.children.begin() + first, from.children.begin() + last + 1);
                if (&from == &into && to > first) to -= last - first + 1;
                for (auto& row : moving) into.children.insert(into.children.begin() + to++, std::move(row));
            });
    connect(&model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                Row& parent = rowAt(pathOf(topLeft.parent()));
                for (int i = topLeft.row(); i <= bottomRight.row(); ++i) {
                    const QModelIndex index = m_model.index(i, 0, topLeft.parent());
                    parent.children[i]->text = index.data().toString();
                    parent.children[i]->extra = index.data(m_role).toString();
                }
            });
    connect(&model, &QAbstractItemModel::modelReset, this, [this] {
        m_root.children.clear();
        read(m_root, {});
    });
}

void ModelMirror::read(Row& row, const QModelIndex& index) const {
    if (index.isValid()) {
        row.text = index.data().toString();
        row.extra = index.data(m_role).toString();
    }
    for (int i = 0, rows = m_model.rowCount(index); i < rows; ++i)
        row.children.push_back(readRow(m_model.index(i, 0, index)));
}

std::unique_ptr<ModelMirror::Row> ModelMirror::readRow(const QModelIndex& index) const {
    auto row = std::make_unique<Row>();
    read(*row, index);
    return row;
}

ModelMirror::Path ModelMirror::pathOf(const QModelIndex& index) {
    Path path;
    for (QModelIndex i = index; i.isValid(); i = i.parent()) path.push_back(i.row());
    std::reverse(path.begin(), path.end());
    return path;
}

ModelMirror::Row& ModelMirror::rowAt(const Path& path) {
    Row* row = &m_root;
    for (int i : path) row = row->children.at(static_cast<size_t>(i)).get();
    return *row;
}

void ModelMirror::print(const Row& row, int level, QStringList& out) {
    for (const auto& child : row.children) {
        out << QStringLiteral("%1 %2 [%3]").arg(level).arg(child->text, child->extra);
        print(*child, level + 1, out);
    }
}

QStringList ModelMirror::lines() const {
    QStringList out;
    print(m_root, 0, out);
    return out;
}

QStringList ModelMirror::modelLines() const {
    Row fresh;
    read(fresh, {});
    QStringList out;
    print(fresh, 0, out);
    return out;
}

}  // namespace tarvelin::test
