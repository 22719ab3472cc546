#include "lists/list_tree_model.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvelin {
namespace {

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

}  // namespace
}  // namespace tarvelin
