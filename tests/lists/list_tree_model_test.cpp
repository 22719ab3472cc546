// The binder tree's model: every change announced where it happens, checked by QAbstractItemModelTester and
// by a mirror that follows the signals as a view does; the modified flag follows the changes of content.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <functional>
#include <string>

#include "lists/list_document.h"
#include "lists/list_tree_model.h"
#include "support/model_mirror.h"

namespace tarvelin {
namespace {

using test::ModelMirror;

TEST(ListTreeModel, ShowsABoundedTextAndKeepsTheWholeOneForEditing) {
    struct Case {
        const char* name;
        std::string text;
        QString shown;
    };
    const std::string ascii(1000, 'a');
    const std::string kanji = [] {
        std::string s;
        for (int i = 0; i < 1000; ++i) s += "資";
        return s;
    }();
    const QString thousandKanji(1000, QChar(0x8CC7));
    const Case cases[] = {
        {"short", "/home/u/資料.txt", QStringLiteral("/home/u/資料.txt")},
        {"just the bound", ascii, QString(1000, 'a')},
        {"one past", ascii + "b", QString(1000, 'a') + QChar(0x2026)},
        {"ten megabytes", std::string(10 << 20, 'x'), QString(1000, 'x') + QChar(0x2026)},
        {"Japanese at the bound", kanji, thousandKanji},
        {"Japanese past it", kanji + "資料", thousandKanji + QChar(0x2026)},
        {"four-byte characters cut whole", std::string(2000, 'a').replace(0, 4, "\xF0\x9F\x98\x80"),
         QStringLiteral("😀") + QString(998, 'a') + QChar(0x2026)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ListDocument document;
        ListTreeModel model(document);
        model.addChild(kNoNode, c.text);
        const QModelIndex index = model.index(0, 0);
        EXPECT_EQ(model.data(index, Qt::DisplayRole).toString(), c.shown);
        EXPECT_EQ(model.data(index, Qt::EditRole).toString().toStdString(), c.text);
        // An edit accepted unchanged leaves the whole text as it was.
        model.setData(index, model.data(index, Qt::EditRole));
        EXPECT_TRUE(document.tree.text(document.tree.first()) == c.text);
    }
}

NodeId find(const ListTree& tree, const std::string& text) {
    for (NodeId node : tree.treeOrder())
        if (tree.text(node) == text) return node;
    return kNoNode;
}

TEST(ListTreeModel, EveryChangeIsAnnouncedWhereItHappensAndContentChangesMarkTheListModified) {
    struct Case {
        const char* change;
        std::function<void(ListTreeModel&, const ListTree&)> apply;
        QStringList after;
        bool modified;
    };
    const auto at = [](const ListTree& tree, const char* text) { return find(tree, text); };
    const Case cases[] = {
        {"insert under a binder",
         [&](ListTreeModel& m, const ListTree& t) { m.addChild(at(t, "A"), "A3"); },
         {"0 Root [0]", "1 A [0]", "2 A1 [0]", "2 A2 [0]", "2 A3 [0]", "1 B [0]", "1 C [0]"},
         true},
        {"rename",
         [&](ListTreeModel& m, const ListTree& t) { m.setText(at(t, "B"), "B2"); },
         {"0 Root [0]", "1 A [0]", "2 A1 [0]", "2 A2 [0]", "1 B2 [0]", "1 C [0]"},
         true},
        {"an edit accepted unchanged",
         [&](ListTreeModel& m, const ListTree& t) { m.setData(m.indexOf(at(t, "B")), QStringLiteral("B")); },
         {"0 Root [0]", "1 A [0]", "2 A1 [0]", "2 A2 [0]", "1 B [0]", "1 C [0]"},
         true},
        {"icons",
         [&](ListTreeModel& m, const ListTree& t) { m.setIcons(at(t, "C"), 6, 6); },
         {"0 Root [0]", "1 A [0]", "2 A1 [0]", "2 A2 [0]", "1 B [0]", "1 C [6]"},
         false},
        {"move down among its siblings",
         [&](ListTreeModel& m, const ListTree& t) {
             m.move(at(t, "A1"), at(t, "A2"), MoveMode::AddAsLastSibling);
         },
         {"0 Root [0]", "1 A [0]", "2 A2 [0]", "2 A1 [0]", "1 B [0]", "1 C [0]"},
         true},
        {"move up before a sibling",
         [&](ListTreeModel& m, const ListTree& t) { m.move(at(t, "C"), at(t, "A"), MoveMode::InsertBefore); },
         {"0 Root [0]", "1 C [0]", "1 A [0]", "2 A1 [0]", "2 A2 [0]", "1 B [0]"},
         true},
        {"move into a binder after its rows",
         [&](ListTreeModel& m, const ListTree& t) {
             m.move(at(t, "B"), at(t, "A"), MoveMode::AddAsLastChild);
         },
         {"0 Root [0]", "1 A [0]", "2 A1 [0]", "2 A2 [0]", "2 B [0]", "1 C [0]"},
         true},
        {"move a binder out to the top level",
         [&](ListTreeModel& m, const ListTree& t) {
             m.move(at(t, "A"), at(t, "Root"), MoveMode::AddAsLastSibling);
         },
         {"0 Root [0]", "1 B [0]", "1 C [0]", "0 A [0]", "1 A1 [0]", "1 A2 [0]"},
         true},
        {"move onto its own place",
         [&](ListTreeModel& m, const ListTree& t) { m.move(at(t, "B"), at(t, "C"), MoveMode::InsertBefore); },
         {"0 Root [0]", "1 A [0]", "2 A1 [0]", "2 A2 [0]", "1 B [0]", "1 C [0]"},
         true},
        {"move into its own subtree is refused",
         [&](ListTreeModel& m, const ListTree& t) {
             EXPECT_FALSE(m.move(at(t, "A"), at(t, "A1"), MoveMode::AddAsLastChild));
         },
         {"0 Root [0]", "1 A [0]", "2 A1 [0]", "2 A2 [0]", "1 B [0]", "1 C [0]"},
         false},
        {"remove a binder with its rows",
         [&](ListTreeModel& m, const ListTree& t) { m.remove(at(t, "A")); },
         {"0 Root [0]", "1 B [0]", "1 C [0]"},
         true},
        {"expand everything",
         [&](ListTreeModel& m, const ListTree& t) { m.setExpanded(at(t, "Root"), true, true); },
         {"0 Root [0]", "1 A [0]", "2 A1 [0]", "2 A2 [0]", "1 B [0]", "1 C [0]"},
         false},
    };
    for (const Case& c : cases) {
        ListDocument document;
        ASSERT_TRUE(buildListTree("Root\r\n\tA\r\n\t\tA1\r\n\t\tA2\r\n\tB\r\n\tC\r\n", document.tree));
        ListTreeModel model(document);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        ModelMirror mirror(model, ListTreeModel::IconRole);
        c.apply(model, document.tree);
        EXPECT_EQ(model.isModified(), c.modified) << c.change;
        EXPECT_EQ(mirror.modelLines(), c.after) << c.change;
        EXPECT_EQ(mirror.lines(), mirror.modelLines()) << c.change;
    }
}

TEST(ListTreeModel, TheSelectedIconIsSetWhenTheSelectionComesAndAnnouncedOnlyWhenItChanges) {
    ListDocument document;
    ASSERT_TRUE(buildListTree("Root\r\n\tBinder\r\n\t\tX\r\n", document.tree));
    ListTreeModel model(document);
    ModelMirror mirror(model, ListTreeModel::SelectedIconRole);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    const NodeId binder = find(document.tree, "Binder");
    // Its icon tells nothing of its text: not yet known until the disk answers, then the rule's icon.
    model.applySelectedIconRule(binder);
    model.applySelectedIconRule(binder);
    EXPECT_EQ(mirror.lines(), (QStringList{"0 Root [0]", "1 Binder [-1]", "2 X [0]"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model.iconsPending(); }, 5000));
    EXPECT_EQ(changes.count(), 2);
    model.applySelectedIconRule(binder);  // an earlier answer is kept while the disk is asked again
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model.iconsPending(); }, 5000));
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(mirror.lines(), (QStringList{"0 Root [0]", "1 Binder [5]", "2 X [0]"}));
    EXPECT_EQ(mirror.lines(), mirror.modelLines());
    EXPECT_FALSE(model.isModified());

    // Collapsing what is collapsed announces nothing; expanding a node once does.
    QSignalSpy expansions(&model, &ListTreeModel::expansionChanged);
    model.setExpanded(binder, false, false);
    model.setExpanded(binder, true, false);
    model.setExpanded(binder, true, false);
    EXPECT_EQ(expansions.count(), 1);
}

TEST(ModelMirror, SeesAChangeTheModelDidNotAnnounce) {
    QStandardItemModel model;
    model.appendRow(new QStandardItem(QStringLiteral("a")));
    ModelMirror mirror(model, Qt::UserRole);
    model.blockSignals(true);
    model.insertRow(0, new QStandardItem(QStringLiteral("b")));
    model.blockSignals(false);
    EXPECT_NE(mirror.lines(), mirror.modelLines());
}

}  // namespace
}  // namespace tarvelin
