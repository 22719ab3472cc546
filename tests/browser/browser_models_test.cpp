// The folder-tree and file-list item models, checked by QAbstractItemModelTester after every change.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QMimeData>
#include <QUrl>

#include "browser/file_glyph.h"
#include "browser/file_list_model.h"
#include "browser/folder_tree_model.h"
#include "browser_fixture.h"
#include "widgets/pane_drag.h"

namespace tarvelin {
namespace {

using test::kCp932Name;
using test::TempFolder;

QStringList childTexts(const QAbstractItemModel& model, const QModelIndex& parent) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(parent); ++row)
        texts << model.index(row, 0, parent).data().toString();
    return texts;
}

QModelIndex childNamed(const QAbstractItemModel& model, const QModelIndex& parent, const QString& name) {
    for (int row = 0; row < model.rowCount(parent); ++row)
        if (model.index(row, 0, parent).data().toString() == name) return model.index(row, 0, parent);
    return {};
}

TEST(FolderTreeModel, ReadsSubfoldersOnlyWhenAsked) {
    TempFolder folder;
    test::makeFolders(folder, {"root/b/inner", "root/A", "root/.hidden", "root/empty"});
    FolderTreeModel model(true, test::placesIn(folder));
    ASSERT_TRUE(model.setRoot(folder.file("root")));
    test::waitForReading(model);

    const QModelIndex root = model.rootIndex();
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(root.data().toString(), "root");
    EXPECT_EQ(root.data(FolderTreeModel::PathRole).toByteArray(),
              QByteArray::fromStdString(folder.file("root")));
    EXPECT_EQ(childTexts(model, root), (QStringList{".hidden", "A", "b", "empty"}));

    const QModelIndex b = childNamed(model, root, "b");
    EXPECT_TRUE(model.hasChildren(b));
    EXPECT_TRUE(model.canFetchMore(b));
    EXPECT_EQ(model.rowCount(b), 0);
    // An empty folder shows an expander until it is opened.
    const QModelIndex empty = childNamed(model, root, "empty");
    EXPECT_TRUE(model.hasChildren(empty));

    // The tester walks the whole tree, fetching as a view would.
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    test::waitForReading(model);
    EXPECT_FALSE(model.canFetchMore(b));
    EXPECT_EQ(childTexts(model, b), (QStringList{"inner"}));
    EXPECT_FALSE(model.hasChildren(empty));
}

TEST(FolderTreeModel, TheRightTreeLeavesHiddenFoldersOut) {
    TempFolder folder;
    test::makeFolders(folder, {"root/.config", "root/data"});
    FolderTreeModel model(false, test::placesIn(folder));
    model.setRoot(folder.file("root"));
    test::waitForReading(model);
    EXPECT_EQ(childTexts(model, model.rootIndex()), (QStringList{"data"}));
}

TEST(FolderTreeModel, RefreshKeepsTheIndexesOfFoldersThatRemain) {
    TempFolder folder;
    test::makeFolders(folder, {"root/b/keep", "root/c", "root/d"});
    FolderTreeModel model(true, test::placesIn(folder));
    model.setRoot(folder.file("root"));
    test::waitForReading(model);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const QPersistentModelIndex b = childNamed(model, model.rootIndex(), "b");
    model.fetchMore(b);
    test::waitForReading(model);
    const QPersistentModelIndex keep = model.index(0, 0, b);

    std::filesystem::remove(folder.file("root/c"));
    test::makeFolders(folder, {"root/a", "root/b/new"});
    model.refresh(model.rootIndex());
    test::waitForReading(model);

    EXPECT_EQ(childTexts(model, model.rootIndex()), (QStringList{"a", "b", "d"}));
    ASSERT_TRUE(b.isValid());
    EXPECT_EQ(b.row(), 1);
    EXPECT_EQ(childTexts(model, b), (QStringList{"keep", "new"}));
    EXPECT_TRUE(keep.isValid());
    EXPECT_EQ(keep.data().toString(), "keep");
}

TEST(FolderTreeModel, DesktopRootHoldsThePlacesAndTheDesktopFolders) {
    TempFolder folder;
    test::makeFolders(folder, {"Desktop/仕事"});
    FolderTreeModel model(true, test::placesIn(folder));
    test::waitForReading(model);
    const QModelIndex root = model.rootIndex();
    EXPECT_EQ(model.root(), "rfDesktop");
    EXPECT_EQ(root.data().toString(), "デスクトップ");
    EXPECT_EQ(model.pathOf(root), folder.file("Desktop"));
    const QString home =
        QString::fromStdString(std::filesystem::path(folder.path()).parent_path().filename());
    EXPECT_EQ(childTexts(model, root), (QStringList{home, "/", "仕事"}));
    EXPECT_FALSE(model.setRoot("RFDESKTOP"));  // the desktop word in any letter case is the same root
}

TEST(FolderTreeModel, AFolderNameThatIsNotUtf8KeepsItsBytes) {
    TempFolder folder;
    const std::string name = "\x8e\x91\x97\xbf";
    std::filesystem::create_directories(folder.file("root/" + name));
    FolderTreeModel model(true, test::placesIn(folder));
    model.setRoot(folder.file("root"));
    test::waitForReading(model);
    const QModelIndex node = model.index(0, 0, model.rootIndex());
    EXPECT_EQ(node.data().toString(), "資料");
    EXPECT_EQ(model.pathOf(node), folder.file("root/" + name));
    std::unique_ptr<QMimeData> data(model.mimeData({node}));
    EXPECT_EQ(paneDragPaths(*data), (std::vector<std::string>{folder.file("root/" + name)}));
}

TEST(FileListModel, ResetsOnlyWhenTheFolderOrTheMaskChanges) {
    TempFolder folder;
    test::makeFiles(folder, {"b.txt", "A.doc", "setup.EXE", ".hidden"});
    test::makeFolders(folder, {"sub"});
    FileListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });

    EXPECT_TRUE(model.showFolder(folder.path()));
    EXPECT_FALSE(model.showFolder(folder.path().substr(0, folder.path().size() - 1)));
    EXPECT_EQ(resets, 1);
    test::waitForReading(model);
    EXPECT_EQ(childTexts(model, {}), (QStringList{"A.doc", "b.txt", "setup.EXE"}));
    EXPECT_EQ(model.index(2).data(FileListModel::GlyphRole).toInt(), static_cast<int>(FileGlyph::Program));
    EXPECT_EQ(model.index(1).data(FileListModel::GlyphRole).toInt(), static_cast<int>(FileGlyph::Document));

    EXPECT_TRUE(model.setMask("*.txt"));
    EXPECT_FALSE(model.setMask("*.txt"));
    EXPECT_TRUE(model.setMask("*.TXT"));  // masks compare with their letter case
    EXPECT_EQ(resets, 3);
    test::waitForReading(model);
    EXPECT_EQ(childTexts(model, {}), (QStringList{"b.txt"}));

    folder.write("c.txt", "x");
    model.reread();
    EXPECT_EQ(resets, 4);
    test::waitForReading(model);
    EXPECT_EQ(childTexts(model, {}), (QStringList{"b.txt", "c.txt"}));
}

TEST(FileListModel, ANameThatIsNotUtf8IsListedAndDraggedWithItsBytes) {
    TempFolder folder;
    test::makeFiles(folder, {kCp932Name, "z.txt"});
    FileListModel model;
    model.showFolder(folder.path());
    test::waitForReading(model);
    ASSERT_EQ(model.rowCount(), 2);
    const QModelIndex cp932 = model.index(1);
    EXPECT_EQ(cp932.data().toString(), "資料.txt");
    EXPECT_EQ(cp932.data(FileListModel::NameRole).toByteArray(), QByteArray::fromStdString(kCp932Name));
    EXPECT_EQ(cp932.data(FileListModel::PathRole).toByteArray(),
              QByteArray::fromStdString(folder.file(kCp932Name)));

    // Given in selection order, carried in list order.
    std::unique_ptr<QMimeData> data(model.mimeData({cp932, model.index(0)}));
    EXPECT_EQ(paneDragPaths(*data),
              (std::vector<std::string>{folder.file("z.txt"), folder.file(kCp932Name)}));
    const QByteArray folderUrl = "file://" + QByteArray::fromStdString(folder.path()).toPercentEncoding("/");
    EXPECT_EQ(data->data("text/uri-list"), folderUrl + "z.txt\r\n" + folderUrl + "%8E%91%97%BF.txt\r\n");
    const QList<QUrl> urls = data->urls();  // as a file manager reads them
    ASSERT_EQ(urls.size(), 2);
    EXPECT_EQ(urls[1].toEncoded(), folderUrl + "%8E%91%97%BF.txt");
}

TEST(FileListModel, AFolderThatCannotBeReadGivesAnEmptyList) {
    TempFolder folder;
    folder.write("file", "x");
    FileListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    for (const std::string& path : {folder.file("missing"), folder.file("file")}) {
        model.showFolder(path);
        test::waitForReading(model);
        EXPECT_EQ(model.rowCount(), 0) << path;
        EXPECT_NE(model.list().readError(), 0) << path;
    }
}

}  // namespace
}  // namespace tarvelin
