#include <QDialog>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "browser/file_panes.h"
#include "gated_disk.h"
#include "list_window_fixture.h"
#include "lists/list_drops.h"
#include "lists/list_tree_model.h"
#include "lists/list_tree_view.h"
#include "tree_outline.h"
#include "widgets/pane_drag.h"

namespace tarvelin {
namespace {

using test::ListWindowTest;
using test::outline;
using Lines = std::vector<std::string>;

class ListDropsTest : public ListWindowTest {
protected:
    ListDropsTest() {
        // Only the paths under "gated/" wait for the gate.
        disk->held = dir.file("gated/");
        window = std::make_unique<TKX2>(test::withGatedDisk(fakes.services(dir.path()), disk));
        window->show();
        std::filesystem::create_directories(dir.file("gated/sub"));
        std::filesystem::create_directory(dir.file("fold"));
        for (const char* name : {"report.xls", "notes.txt", "setup.EXE", "item.doc", "gated/b.txt"})
            dir.write(name, "x");
    }
    // A list over the test folder: "@" stands for the folder's path.
    TList* openList(std::string lines) {
        for (size_t at = lines.find('@'); at != std::string::npos;
             at = lines.find('@', at + dir.path().size()))
            lines.replace(at, 1, dir.path());
        openThroughDialog(writeList("d.kxd", lines));
        TList* list = activeList();
        EXPECT_TRUE(test::iconsSettled(*list));
        list->TreeView1->expandAll();
        return list;
    }
    const ListTree& tree(TList* list) { return list->model()->tree(); }
    NodeId nodeNamed(TList* list, const std::string& text) {
        for (NodeId node : tree(list).treeOrder())
            if (tree(list).text(node) == text || tree(list).text(node) == dir.file(text)) return node;
        throw std::runtime_error("no node " + text);
    }
    QPoint pointOf(TList* list, NodeId node) {
        return list->TreeView1->visualRect(list->model()->indexOf(node)).center();
    }
    // A drag of the panes' kind from the main window's control `from`.
    void dropPaths(TList* list, const char* from, const std::vector<std::string>& paths, QPoint at) {
        std::unique_ptr<QMimeData> data(makePaneDragData(paths, PathKind::File));
        QWidget* source = test::control<QWidget>(*window, from);
        setPaneDragSource(*data, source->objectName());
        list->drops().drop(*data, source, at);
    }
    void dragNodes(TList* list, std::vector<NodeId> nodes, NodeId onto, std::vector<QAction*> answers = {}) {
        QItemSelectionModel* selection = list->TreeView1->selectionModel();
        selection->clear();
        for (NodeId node : nodes)
            selection->select(list->model()->indexOf(node), QItemSelectionModel::Select);
        selection->setCurrentIndex(list->model()->indexOf(nodes.front()), QItemSelectionModel::NoUpdate);
        int shown = 0;
        list->drops().showMoveMenu = [&](QMenu& menu) {
            EXPECT_EQ(menu.objectName(), "PopupMenu2");
            return static_cast<size_t>(shown) < answers.size() ? answers[static_cast<size_t>(shown++)]
                                                               : nullptr;
        };
        std::unique_ptr<QMimeData> data(list->model()->mimeData(selection->selectedIndexes()));
        list->drops().drop(*data, list->TreeView1, pointOf(list, onto));
        EXPECT_EQ(shown, static_cast<int>(answers.size()));
    }
    // A drop of file URLs from another program, handed out as sent (QMimeData itself would re-encode them).
    void dropUris(TList* list, const std::string& uris, NodeId onto) {
        struct Sent : QMimeData {
            QByteArray bytes;
            QStringList formats() const override { return {"text/uri-list"}; }
            QVariant retrieveData(const QString&, QMetaType) const override { return bytes; }
        } data;
        data.bytes = QByteArray::fromStdString(uris);
        list->drops().drop(data, nullptr, pointOf(list, onto));
    }
    std::string uriOf(const std::string& name) { return "file://" + dir.file(name) + "\r\n"; }
    Lines names(TList* list) {
        Lines lines = outline(tree(list));
        for (std::string& line : lines)
            if (auto at = line.find(dir.path()); at != std::string::npos) line.erase(at, dir.path().size());
        return lines;
    }

    std::shared_ptr<test::GatedDisk> disk = std::make_shared<test::GatedDisk>();
};

TEST_F(ListDropsTest, FilesGoUnderTheTargetInListOrderWithTheirIcons) {
    TList* list = openList("Root\r\n\tEmpty\r\n\tOther\r\n");
    const NodeId empty = nodeNamed(list, "Empty");
    list->TreeView1->collapse(list->model()->indexOf(empty));
    dropPaths(list, "FileListBox1", {dir.file("report.xls"), dir.file("notes.txt"), dir.file("setup.EXE")},
              pointOf(list, empty));
    EXPECT_EQ(names(list),
              (Lines{"0 Root", "1 Empty", "2 report.xls", "2 notes.txt", "2 setup.EXE", "1 Other"}));
    std::vector<int> icons;
    for (NodeId node : tree(list).children(empty)) {
        icons.push_back(tree(list).icon(node));
        EXPECT_EQ(tree(list).selectedIcon(node), 4);
    }
    EXPECT_EQ(icons, (std::vector<int>{7, 19, 13}));
    EXPECT_EQ(tree(list).icon(empty), 6);  // until the list is opened again
    EXPECT_TRUE(list->TreeView1->isExpanded(list->model()->indexOf(empty)));
    EXPECT_EQ(list->drops().lastAdded(), tree(list).children(empty).back());
    EXPECT_EQ(list->drops().dropTarget(), empty);
    EXPECT_TRUE(list->isModified());
}

TEST_F(ListDropsTest, FolderAndFileDropsOnBindersAndItems) {
    TList* list = openList("Root\r\n\tBinder\r\n\t\tInside\r\n\t@item.doc\r\n");
    const NodeId binder = nodeNamed(list, "Binder");
    const NodeId item = nodeNamed(list, "item.doc");
    list->TreeView1->collapse(list->model()->indexOf(binder));

    // A folder on an item is refused and leaves the list unmodified.
    dropPaths(list, "ShellTreeView1", {dir.file("fold")}, pointOf(list, item));
    EXPECT_EQ(fakes.dialogs.messages(),
              QStringList{QStringLiteral("ファイルまたはフォルダに下位の階層を作ることはできません")});
    EXPECT_FALSE(list->isModified());

    // On a collapsed binder the folder is added and the binder stays collapsed.
    dropPaths(list, "ShellTreeView1", {dir.file("fold")}, pointOf(list, binder));
    const NodeId folder = tree(list).children(binder).back();
    EXPECT_EQ(tree(list).text(folder), dir.file("fold"));
    EXPECT_EQ(std::make_pair(tree(list).icon(folder), tree(list).selectedIcon(folder)), std::make_pair(2, 4));
    EXPECT_FALSE(list->TreeView1->isExpanded(list->model()->indexOf(binder)));
    EXPECT_TRUE(list->isModified());

    // Files may go under a file item.
    dropPaths(list, "FileListBox1", {dir.file("notes.txt")}, pointOf(list, item));
    EXPECT_EQ(names(list), (Lines{"0 Root", "1 Binder", "2 Inside", "2 fold", "1 item.doc", "2 notes.txt"}));
    EXPECT_EQ(fakes.dialogs.messages().size(), 1);
}

TEST_F(ListDropsTest, EmptySpaceAddsNothingAndOtherSourcesOnlyMarkModified) {
    TList* list = openList("Root\r\n\t@item.doc\r\n\tBinder\r\n");
    const QPoint below(5, list->TreeView1->viewport()->height() - 2);
    struct Case {
        const char* selected;
        QStringList messages;
    } cases[] = {{"Binder", {}}, {"item.doc", {QStringLiteral("バインダーにドラッグしてください")}}};
    for (const Case& c : cases) {
        fakes.dialogs.calls.clear();
        list->TreeView1->setCurrentIndex(list->model()->indexOf(nodeNamed(list, c.selected)));
        dropPaths(list, "FileListBox1", {dir.file("notes.txt")}, below);
        EXPECT_EQ(fakes.dialogs.messages(), c.messages) << c.selected;
        EXPECT_EQ(list->drops().dropTarget(), kNoNode);
        EXPECT_EQ(tree(list).size(), 3u);
        EXPECT_FALSE(list->isModified());
    }
    window->panes().right();
    dropPaths(list, "FileListBox2", {dir.file("notes.txt")}, pointOf(list, nodeNamed(list, "Binder")));
    EXPECT_EQ(tree(list).size(), 3u);
    EXPECT_TRUE(list->isModified());
}

TEST_F(ListDropsTest, NodeDroppedOnAnItemIsReorderedNextToIt) {
    struct Case {
        const char* dragged;
        const char* onto;
        Lines after;
    } cases[] = {
        {"item.doc", "notes.txt", {"0 Root", "1 report.xls", "1 notes.txt", "1 item.doc", "1 setup.EXE"}},
        {"setup.EXE", "notes.txt", {"0 Root", "1 item.doc", "1 report.xls", "1 setup.EXE", "1 notes.txt"}},
        {"item.doc", "setup.EXE", {"0 Root", "1 report.xls", "1 notes.txt", "1 setup.EXE", "1 item.doc"}},
        {"notes.txt", "notes.txt", {"0 Root", "1 item.doc", "1 report.xls", "1 notes.txt", "1 setup.EXE"}},
    };
    for (const Case& c : cases) {
        TList* list = openList("Root\r\n\t@item.doc\r\n\t@report.xls\r\n\t@notes.txt\r\n\t@setup.EXE\r\n");
        const int iconBefore = tree(list).icon(nodeNamed(list, c.dragged));
        dragNodes(list, {nodeNamed(list, c.dragged)}, nodeNamed(list, c.onto));
        EXPECT_EQ(names(list), c.after) << c.dragged << " onto " << c.onto;
        EXPECT_EQ(tree(list).icon(nodeNamed(list, c.dragged)), iconBefore);
        EXPECT_TRUE(list->isModified());
        list->model()->markSaved();
        list->Close1Click();
    }
}

TEST_F(ListDropsTest, MoveMenuOnBinders) {
    const std::string lines = "Root\r\n\tA\r\n\t\t@notes.txt\r\n\tB\r\n\tC\r\n\t\tC1\r\n";
    TList* list = openList(lines);
    QAction* cancel = list->drops().N12;
    EXPECT_EQ((QStringList{list->drops().N10->text(), list->drops().N11->text(), cancel->text()}),
              (QStringList{"ここに移動", "このバインダーに入れる", "キャンセル"}));

    // Cancel, once for each of the two selected nodes: nothing moves, the list is modified.
    dragNodes(list, {nodeNamed(list, "notes.txt"), nodeNamed(list, "C1")}, nodeNamed(list, "B"),
              {cancel, cancel});
    EXPECT_EQ(names(list), (Lines{"0 Root", "1 A", "2 notes.txt", "1 B", "1 C", "2 C1"}));
    EXPECT_TRUE(list->isModified());

    // Into the empty binder B: B gets icon 1 and is expanded, A left empty gets icon 6.
    const NodeId b = nodeNamed(list, "B");
    list->TreeView1->collapse(list->model()->indexOf(b));
    dragNodes(list, {nodeNamed(list, "notes.txt")}, b, {list->drops().N11});
    EXPECT_EQ(names(list), (Lines{"0 Root", "1 A", "1 B", "2 notes.txt", "1 C", "2 C1"}));
    EXPECT_EQ(tree(list).icon(b), 1);
    EXPECT_EQ(tree(list).icon(nodeNamed(list, "A")), 6);
    EXPECT_TRUE(list->TreeView1->isExpanded(list->model()->indexOf(b)));

    // Move here: C1 goes directly before B, at B's level; C left empty gets icon 6.
    dragNodes(list, {nodeNamed(list, "C1")}, b, {list->drops().N10});
    EXPECT_EQ(names(list), (Lines{"0 Root", "1 A", "1 C1", "1 B", "2 notes.txt", "1 C"}));
    EXPECT_EQ(tree(list).icon(nodeNamed(list, "C")), 6);

    // A binder onto its own descendant moves nothing and changes no icon.
    const NodeId c = nodeNamed(list, "C");
    list->model()->move(nodeNamed(list, "A"), c, MoveMode::AddAsLastChild);
    list->TreeView1->expand(list->model()->indexOf(c));
    for (QAction* command : {list->drops().N10, list->drops().N11}) {
        dragNodes(list, {c}, nodeNamed(list, "A"), {command});
        EXPECT_EQ(names(list), (Lines{"0 Root", "1 C1", "1 B", "2 notes.txt", "1 C", "2 A"}));
        EXPECT_EQ(std::make_pair(tree(list).icon(c), tree(list).icon(nodeNamed(list, "A"))),
                  std::make_pair(6, 6));
    }
}

TEST_F(ListDropsTest, Cp932NameIsKeptByteForByte) {
    const std::string name = "\x8e\x91\x97\xbf.txt";  // 資料.txt in CP932, not UTF-8
    dir.write(name, "x");
    TList* list = openList("Root\r\n");
    dropPaths(list, "FileListBox1", {dir.file(name)}, pointOf(list, tree(list).first()));
    list->N4Click();
    const std::string saved = "Root\r\n\t" + dir.file(name) + "\r\n";
    EXPECT_EQ(dir.read("d.kxd"), saved);
    list->Close1Click();
    // Read back (now as a CP932 file) and saved again, the bytes stay.
    TList* again = openList(saved);
    again->model()->markModified();
    again->N4Click();
    EXPECT_EQ(dir.read("d.kxd"), saved);
}

TEST_F(ListDropsTest, FileUrlsFromAnotherProgram) {
    const std::string name = "a b資料.txt";
    dir.write(name, "x");
    TList* list = openList("Root\r\n\t@item.doc\r\n");
    const NodeId item = nodeNamed(list, "item.doc");
    QMimeData data;
    data.setData("text/uri-list",
                 "file://" + QByteArray::fromStdString(dir.path()).toPercentEncoding("/") +
                     "a%20b%E8%B3%87%E6%96%99.txt\r\n# comment\r\nhttps://example.org/x.txt\r\n"
                     "file://" +
                     QByteArray::fromStdString(dir.file("fold")) + "\r\n");
    const QPoint at = pointOf(list, item);
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->TreeView1->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent event(QPointF(at), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->TreeView1->viewport(), &event);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !list->drops().waiting(); }, 5000));
    EXPECT_EQ(event.dropAction(), Qt::CopyAction);  // never a move: the sender would delete its file
    EXPECT_EQ(names(list), (Lines{"0 Root", "1 item.doc", "2 a b資料.txt", "2 fold"}));
    const std::vector<NodeId>& added = tree(list).children(item);
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(std::make_pair(tree(list).icon(added[0]), tree(list).icon(added[1])), std::make_pair(19, 2));
    EXPECT_EQ(
        fakes.dialogs.messages(),
        QStringList{QStringLiteral(
            "ローカルのファイルやフォルダではない項目はリストに追加できません（1個を追加しませんでした）")});
    EXPECT_TRUE(list->isModified());

    // A drag out of the list offers the items' file URLs, binders none.
    std::unique_ptr<QMimeData> out(list->model()->mimeData(
        {list->model()->indexOf(added[0]), list->model()->indexOf(tree(list).first())}));
    EXPECT_EQ(out->data("text/uri-list"),
              "file://" + QByteArray::fromStdString(dir.file(name)).toPercentEncoding("/") + "\r\n");
}

TEST_F(ListDropsTest, OtherProgramsPathsAreAskedOffTheWindowsThreadAndAddedInOrderOnceAnswered) {
    TList* list = openList("Root\r\n\tBinder\r\n");
    dropUris(list, uriOf("gated/sub") + "file:///x%zz.txt\r\n" + uriOf("gated/b.txt") + uriOf("notes.txt"),
             nodeNamed(list, "Binder"));
    EXPECT_EQ(names(list), (Lines{"0 Root", "1 Binder"}));
    EXPECT_TRUE(fakes.dialogs.messages().isEmpty());
    disk->release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !list->drops().waiting(); }, 5000));
    EXPECT_EQ(names(list), (Lines{"0 Root", "1 Binder", "2 gated/sub", "2 gated/b.txt", "2 notes.txt"}));
    EXPECT_EQ(tree(list).icon(nodeNamed(list, "gated/sub")), 2);
    EXPECT_EQ(fakes.dialogs.messages(),
              QStringList{QStringLiteral(
                  "次の項目は名前に使えない文字を含むため追加しませんでした：\nfile:///x%zz.txt")});
    EXPECT_EQ(disk->askedOnTheWindowsThread, 0);
}

TEST_F(ListDropsTest, AWaitingDropCancelledOrWhoseTargetWentAddsNothing) {
    TList* list = openList("Root\r\n\tA\r\n\tB\r\n");
    list->drops().promptDelayMs = 0;
    dropUris(list, uriOf("gated/b.txt"), nodeNamed(list, "A"));
    QDialog* prompt = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (prompt = list->findChild<QDialog*>("DropWaitPrompt")) && prompt->isVisible(); }));
    prompt->findChild<QPushButton*>()->click();
    EXPECT_FALSE(prompt->isVisible());

    // The target deleted and a node added that may take its handle.
    dropUris(list, uriOf("gated/b.txt"), nodeNamed(list, "B"));
    list->model()->remove(nodeNamed(list, "B"));
    list->model()->addChild(tree(list).first(), "C");
    disk->release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !list->drops().waiting(); }, 5000));
    EXPECT_EQ(names(list), (Lines{"0 Root", "1 A", "1 C"}));
    EXPECT_TRUE(fakes.dialogs.messages().isEmpty());
}

TEST_F(ListDropsTest, APaneDragFromAnotherStartAsksNoDisk) {
    TList* list = openList("Root\r\n\tBinder\r\n");
    const int asked = disk->asked;
    std::unique_ptr<QMimeData> data(makePaneDragData({dir.file("gated/sub")}, PathKind::Folder));
    list->drops().drop(*data, nullptr, pointOf(list, nodeNamed(list, "Binder")));
    EXPECT_EQ(names(list), (Lines{"0 Root", "1 Binder", "2 gated/sub"}));
    EXPECT_EQ(tree(list).icon(nodeNamed(list, "gated/sub")), 2);
    EXPECT_EQ(disk->asked, asked);
}

}  // namespace
}  // namespace tarvelin
