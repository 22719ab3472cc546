// A list whose items lie on a volume that answers late or never: the window shows at once with its icons not
// yet known, they settle as the answers come, and the disk is never asked on the window's thread.
#include <QApplication>
#include <QTest>
#include <climits>
#include <filesystem>

#include "gated_disk.h"
#include "list_window_fixture.h"
#include "lists/icon_rules.h"
#include "lists/list_tree_view.h"

namespace tarvelin {
namespace {

using test::GatedDisk;
using test::ListWindowTest;

class SlowVolume : public ListWindowTest {
protected:
    SlowVolume() {
        window = std::make_unique<TKX2>(test::withGatedDisk(fakes.services(dir.path()), disk));
        window->show();
        std::filesystem::create_directories(dir.file("folder"));
        for (const char* name : {"a.txt", "b.xls", "c.jpg", "d.pdf", "e.DOC"}) dir.write(name, "x");
    }
    ~SlowVolume() override {
        disk->release();  // workers still held end on their own
    }
    // A thousand items of every kind under binders, some nested, some empty.
    std::string thousandItems(const std::string& held = {}) const {
        static const char* const kTexts[] = {"a.txt", "b.xls",  "c.jpg",   "d.pdf",
                                             "e.DOC", "folder", "gone.doc"};
        std::string lines = "Root\r\n";
        for (int i = 0; i < 1000; ++i) {
            if (i % 50 == 0) lines += "\tBinder " + std::to_string(i) + "\r\n";
            lines += "\t\t" + (held.empty() || i % 2 ? dir.file(kTexts[i % 7]) : held + std::to_string(i)) +
                     "\r\n";
            if (i % 100 == 0) lines += "\t\t\tinside\r\n";
        }
        return lines + "\tEmpty\r\n\tC:\\old\\gone.doc\r\n\tE:\\old\\gone.doc\r\n";
    }
    std::vector<int> iconsOf(const ListTree& tree) const {
        std::vector<int> icons;
        for (NodeId node : tree.treeOrder()) icons.push_back(tree.icon(node));
        return icons;
    }

    std::shared_ptr<GatedDisk> disk = std::make_shared<GatedDisk>();
};

TEST_F(SlowVolume, TheWindowShowsBeforeAnyAnswerAndTheIconsSettleByTheRules) {
    // Last, a text too long for any path: it needs no answer, and is never copied into a question.
    const std::string path =
        writeList("slow.kxd", thousandItems() + "\t/" + std::string(PATH_MAX, 'x') + "\r\n");
    openThroughDialog(path);  // returns although no answer can come
    TList* list = activeList();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    list->repaint();
    const ListTree& tree = list->document().tree;
    std::vector<int> waiting(tree.size(), icons::kNotYetKnown);
    waiting.front() = icons::kRoot;
    waiting.back() = icons::kMissing;
    EXPECT_EQ(iconsOf(tree), waiting);
    EXPECT_TRUE(list->TreeView1->isExpanded(list->model()->indexOf(tree.first())));
    EXPECT_TRUE(list->model()->iconsPending());

    // The shown rows are painted again as their icons settle.
    struct PaintCount : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } painted;
    list->TreeView1->viewport()->installEventFilter(&painted);
    QTest::qWait(100);  // the paints of the showing are over
    painted.paints = 0;
    disk->release();
    ASSERT_TRUE(test::iconsSettled(*list));
    EXPECT_TRUE(QTest::qWaitFor([&] { return painted.paints > 0; }, 5000));
    ListDocument same;
    readListDocument(same, path);
    assignIconsOnOpening(same.tree);
    EXPECT_EQ(iconsOf(tree), iconsOf(same.tree));
    EXPECT_EQ(disk->asked, static_cast<int>(tree.size()) - 2);
    EXPECT_EQ(disk->askedOnTheWindowsThread, 0);
}

TEST_F(SlowVolume, AVolumeThatNeverAnswersLeavesItsItemsNotYetKnownNeverMissing) {
    // The workers are one a volume, as the mount table tells: the held texts lie on a volume of their own.
    disk->held = "/proc/tarvelin-hung/";
    openThroughDialog(writeList("hung.kxd", thousandItems(disk->held)));
    TList* list = activeList();
    const ListTree& tree = list->document().tree;
    const auto settledElsewhere = [&] {
        for (NodeId node : tree.treeOrder())
            if (tree.icon(node) == icons::kNotYetKnown && !tree.text(node).starts_with(disk->held))
                return false;
        return true;
    };
    ASSERT_TRUE(QTest::qWaitFor(settledElsewhere, 5000));
    QTest::qWait(50);
    int held = 0;
    for (NodeId node : tree.treeOrder()) {
        if (!tree.text(node).starts_with(disk->held)) continue;
        ++held;
        EXPECT_EQ(tree.icon(node), icons::kNotYetKnown) << tree.text(node);
        EXPECT_EQ(list->model()->indexOf(node).data(ListTreeModel::IconRole), icons::kNotYetKnown);
    }
    EXPECT_EQ(held, 500);

    // Selecting a held item waits for nothing: it looks as it does unselected until its answer comes.
    const NodeId heldItem = tree.children(tree.children(tree.first())[0])[0];
    list->TreeView1->setCurrentIndex(list->model()->indexOf(heldItem));
    list->repaint();
    EXPECT_EQ(tree.selectedIcon(heldItem), icons::kNotYetKnown);
    EXPECT_EQ(list->currentNode(), heldItem);
    // A selected item the disk answered for gets the arrow.
    const NodeId known = tree.children(tree.children(tree.first())[0])[1];
    list->TreeView1->setCurrentIndex(list->model()->indexOf(known));
    EXPECT_TRUE(QTest::qWaitFor([&] { return tree.selectedIcon(known) == icons::kSelectedItem; }, 5000));

    // Closing the list while its questions hang waits for nothing either.
    list->Close1Click();
    QApplication::processEvents();
    EXPECT_TRUE(window->lists().listWindows().empty());
    EXPECT_EQ(disk->askedOnTheWindowsThread, 0);
}

TEST_F(SlowVolume, TheSelectedIconFollowsTheDiskAsTheRuleAsks) {
    openThroughDialog(writeList("rule.kxd", "Root\r\n\t" + dir.file("a.txt") + "\r\n\tBinder\r\n\t\tX\r\n"));
    TList* list = activeList();
    disk->release();
    ASSERT_TRUE(test::iconsSettled(*list));
    const ListTree& tree = list->document().tree;
    const NodeId item = tree.children(tree.first())[0];
    const NodeId binder = tree.children(tree.first())[1];
    struct Step {
        const char* what;
        std::function<void()> act;
        NodeId node;
        int selectedIcon;
    };
    const Step steps[] = {
        {"an item", [&] { list->TreeView1->setCurrentIndex(list->model()->indexOf(item)); }, item, 4},
        {"its file gone, selected again",
         [&] {
             std::filesystem::remove(dir.file("a.txt"));
             list->TreeView1->setCurrentIndex(list->model()->indexOf(binder));
             list->TreeView1->setCurrentIndex(list->model()->indexOf(item));
         },
         item, 6},
        {"renamed to a folder", [&] { list->model()->setText(item, dir.file("folder")); }, item, 4},
        {"a binder with children", [&] { list->TreeView1->setCurrentIndex(list->model()->indexOf(binder)); },
         binder, 5},
        {"its last child deleted", [&] { list->model()->remove(tree.children(binder)[0]); }, binder, 6},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        ASSERT_TRUE(test::iconsSettled(*list));
        EXPECT_EQ(tree.selectedIcon(step.node), step.selectedIcon);
        EXPECT_EQ(tree.icon(item), 19);  // the icon stays as opened
    }
    EXPECT_EQ(disk->askedOnTheWindowsThread, 0);
}

}  // namespace
}  // namespace tarvelin
