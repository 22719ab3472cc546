#include <sys/stat.h>
#include <QComboBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>
#include <QThreadPool>
#include <QToolBar>
#include <QToolButton>

#include "list_window_fixture.h"
#include "lists/list_tree_view.h"
#include "lists/memo_pad.h"
#include "rtf_outline.h"
#include "widgets/up_down.h"

namespace tarvelin::test {
namespace {

const QString kUntitledMessage = QStringLiteral(
    "保存されていないリストで、メモ帳は使用できません。\rリストを保存後、再度実行してください。");

// The exact file an empty pad writes: the pad's font (CP932 name, 15 px = 11.25 pt, written as the 11 pt the
// size box shows) and one empty paragraph.
const std::string kEmptyMemo =
    "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 "
    "\\'82\\'6c\\'82\\'72 \\'82\\'6f\\'83\\'53\\'83\\'56\\'83\\'62\\'83\\'4e;}}\r\n{\\colortbl ;}\r\n"
    "\\uc1\\pard\\plain\\f0\\fs22\\par\r\n}\r\n";

class MemoPadTest : public ListWindowTest {
protected:
    // A new list saved as name through Save as.
    TList* savedList(const std::string& name) {
        window->lists().New1Click();
        TList* list = activeList();
        fakes.dialogs.fileAnswers.push_back(dir.file(name));
        list->N5Click();
        fakes.dialogs.calls.clear();
        return list;
    }
    // Clicks the toggle and waits until the memo has been read.
    static void toggle(TList* list) {
        list->ToolButton5->click();
        EXPECT_TRUE(QTest::qWaitFor([list] { return !list->RichEdit1->isReadOnly(); }, 5000));
    }
    // The tools are shown when their toolbar actions are (a narrow window moves some into the overflow menu).
    static bool toolsShown(TList* list) {
        int shown = 0;
        for (QAction* action : list->ToolBar1->actions()) {
            QWidget* tool = list->ToolBar1->widgetForAction(action);
            for (QWidget* memoTool : std::initializer_list<QWidget*>{
                     list->ToolButton1, list->ToolButton2, list->ToolButton3, list->ToolButton4,
                     list->ComboBox1, list->Edit2, list->UpDown1})
                if (tool == memoTool && action->isVisible()) ++shown;
        }
        EXPECT_TRUE(shown == 0 || shown == 7) << shown;
        return shown == 7;
    }
    static void typeSize(TList* list, const QString& text) {
        list->Edit2->selectAll();
        QTest::keyClicks(list->Edit2, text);
        QTest::keyClick(list->Edit2, Qt::Key_Return);
    }
};

TEST_F(MemoPadTest, UntitledListShowsTheMessageUntilSaved) {
    window->lists().New1Click();
    TList* list = activeList();
    list->N14->trigger();
    toggle(list);
    EXPECT_EQ(fakes.dialogs.messages(), QStringList({kUntitledMessage, kUntitledMessage}));
    EXPECT_TRUE(list->Panel1->isHidden());
    EXPECT_FALSE(toolsShown(list));
    EXPECT_EQ(list->N14->text(), "メモ帳を開く");

    fakes.dialogs.fileAnswers.push_back(dir.file("plan.kxd"));
    list->N5Click();
    toggle(list);
    EXPECT_FALSE(list->Panel1->isHidden());
    EXPECT_TRUE(list->RichEdit1->isVisibleTo(list));
    EXPECT_TRUE(toolsShown(list));
    EXPECT_EQ(list->N14->text(), "メモ帳を閉じる");
    EXPECT_EQ(list->RichEdit1->toPlainText(), "");
    EXPECT_EQ(list->Edit2->text(), "11");  // 15 px
    // The font the editor draws with, not the Windows name this system lacks (which the file keeps).
    EXPECT_EQ(list->ComboBox1->currentText(), QFontInfo(list->RichEdit1->font()).family());
    EXPECT_NE(list->ComboBox1->currentText(), "ＭＳ Ｐゴシック");
}

TEST_F(MemoPadTest, OpenAndCloseWritesTheMemoEvenWhenEmpty) {
    TList* list = savedList("plan.kxd");
    toggle(list);
    EXPECT_FALSE(dir.exists("plan.rtf"));
    toggle(list);
    EXPECT_EQ(dir.read("plan.rtf"), kEmptyMemo);
    EXPECT_TRUE(list->Panel1->isHidden());
    EXPECT_FALSE(list->RichEdit1->isVisibleTo(list));
    EXPECT_FALSE(toolsShown(list));
    EXPECT_EQ(list->N14->text(), "メモ帳を開く");
    EXPECT_TRUE(fakes.dialogs.calls.empty());
}

// A memo made by another program keeps its bytes unless the user changed it, and another program's newer
// version is overwritten only when the user agrees.
TEST_F(MemoPadTest, ClosingWritesOnlyAChangedMemoAndAsksBeforeOverwritingANewerOne) {
    const std::string theirs = "{\\rtf1\\ansi {\\fonttbl{\\f0 Arial;}}\\qc\\f0\\fs20 centred\\par}";
    const struct {
        bool edit, rewritten, overwrite;
        std::string expected;  // empty: the pad's own RTF, holding the typed word
    } cases[] = {
        {false, false, false, theirs},
        {true, true, false, "newer"},
        {true, true, true, ""},
    };
    for (const auto& c : cases) {
        TList* list = savedList("plan.kxd");
        dir.write("plan.rtf", theirs);
        toggle(list);
        if (c.edit) QTest::keyClicks(list->RichEdit1, "typed ");
        if (c.rewritten) dir.write("plan.rtf", "newer");
        fakes.dialogs.calls.clear();
        if (c.rewritten) fakes.dialogs.confirmAnswers.push_back(c.overwrite);
        list->ToolButton5->click();
        EXPECT_EQ(fakes.dialogs.calls.size(), c.rewritten ? 1u : 0u);
        if (c.expected.empty())
            EXPECT_NE(dir.read("plan.rtf").find("typed"), std::string::npos);
        else
            EXPECT_EQ(dir.read("plan.rtf"), c.expected);
        EXPECT_EQ(list->memoPad().isOpen(), c.rewritten && !c.overwrite);  // "no" keeps the user's text open
        window->lists().discard(list);
    }
}

TEST_F(MemoPadTest, FormattedMemoReopensFormattedAndNeverMarksTheList) {
    TList* list = savedList("plan.kxd");
    toggle(list);
    QTest::keyClicks(list->RichEdit1, "plain bold");
    QTextCursor cursor = list->RichEdit1->textCursor();
    cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, 4);
    list->RichEdit1->setTextCursor(cursor);
    QTest::mousePress(list->ToolButton1, Qt::LeftButton);
    QTest::mouseRelease(list->ToolButton1, Qt::LeftButton);
    EXPECT_FALSE(list->ToolButton1->isChecked());  // the look follows the selection only
    fakes.dialogs.colourAnswers.push_back(rgbColour(255, 0, 0));
    list->ToolButton4->click();
    list->Edit2->setText("20");  // pasted
    list->ComboBox1->setCurrentText("IPAPGothic");
    emit list->ComboBox1->activated(list->ComboBox1->findText("IPAPGothic"));
    toggle(list);

    list->RichEdit1->clear();
    toggle(list);
    EXPECT_EQ(formatOutline(*list->RichEdit1->document()),
              "[ＭＳ Ｐゴシック 11]plain [b IPAPGothic 20 #ff0000]bold");
    EXPECT_FALSE(list->isModified());
    EXPECT_EQ(fakes.dialogs.calls, (std::vector<Call>{{"chooseColour", {"0"}}}));

    // The tools show the selection: bold, its font and size.
    cursor = list->RichEdit1->textCursor();  // the memo read is a document of its own
    cursor.setPosition(list->RichEdit1->toPlainText().size() - 1);
    list->RichEdit1->setTextCursor(cursor);
    EXPECT_TRUE(list->ToolButton1->isChecked());
    EXPECT_FALSE(list->ToolButton2->isChecked());
    EXPECT_EQ(list->ComboBox1->currentText(), "IPAPGothic");
    EXPECT_EQ(list->Edit2->text(), "20");
    // Selecting text of two sizes shows a size without giving it to the whole selection.
    list->RichEdit1->selectAll();
    EXPECT_EQ(formatOutline(*list->RichEdit1->document()),
              "[ＭＳ Ｐゴシック 11]plain [b IPAPGothic 20 #ff0000]bold");
}

TEST_F(MemoPadTest, SizeBoxClampsAndRejectsWhatIsNotANumber) {
    TList* list = savedList("plan.kxd");
    toggle(list);
    struct Case {
        QString typed;
        QString shown;
        QString error;  // empty: none
    };
    // Read when confirmed: "20" is not clamped at its "2", and an emptied box goes back to the size.
    const Case cases[] = {
        {"100", "80", ""}, {"3", "5", ""}, {"20", "20", ""},
        {"52", "52", ""},  {"", "52", ""}, {"x", "x", "'x' は整数ではありません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        fakes.dialogs.calls.clear();
        typeSize(list, c.typed);
        EXPECT_EQ(list->Edit2->text(), c.shown);
        EXPECT_EQ(fakes.dialogs.messages(), c.error.isEmpty() ? QStringList() : QStringList{c.error});
    }
    EXPECT_EQ(list->RichEdit1->currentCharFormat().fontPointSize(), 52);  // "x" left it
    list->Edit2->selectAll();
    QTest::keyClicks(list->Edit2, "2");  // not confirmed yet: nothing changes
    EXPECT_EQ(list->Edit2->text(), "2");
    EXPECT_EQ(list->RichEdit1->currentCharFormat().fontPointSize(), 52);
    list->UpDown1->downButton()->click();  // an arrow steps from what was typed, at once
    EXPECT_EQ(list->Edit2->text(), "5");
    EXPECT_EQ(list->RichEdit1->currentCharFormat().fontPointSize(), 5);
    typeSize(list, "52");
    list->UpDown1->upButton()->click();
    EXPECT_EQ(list->Edit2->text(), "53");  // from the position: "x" is no number
    EXPECT_EQ(list->RichEdit1->currentCharFormat().fontPointSize(), 53);
    typeSize(list, "80");
    list->UpDown1->upButton()->click();
    EXPECT_EQ(list->Edit2->text(), "80");  // no wrapping
}

TEST_F(MemoPadTest, SaveLeavesTheMemoAndSaveAsMovesIt) {
    TList* list = savedList("plan.kxd");
    toggle(list);
    QTest::keyClicks(list->RichEdit1, "memo");
    list->N4Click();
    EXPECT_TRUE(dir.exists("plan.kxd"));
    EXPECT_FALSE(dir.exists("plan.rtf"));
    toggle(list);
    const std::string planMemo = dir.read("plan.rtf");

    fakes.dialogs.fileAnswers.push_back(dir.file("other.kxd"));
    list->N5Click();
    toggle(list);
    EXPECT_EQ(list->RichEdit1->toPlainText(), "memo");  // no other.rtf: the pad keeps what it held
    toggle(list);
    EXPECT_EQ(dir.read("other.rtf"), planMemo);
    EXPECT_EQ(dir.read("plan.rtf"), planMemo);
}

TEST_F(MemoPadTest, CloseRequestClosesThePadAndKeepsTheWindow) {
    TList* list = savedList("plan.kxd");
    touch(list);
    toggle(list);
    window->close();  // the program's exit stops at this window
    EXPECT_EQ(window->lists().listWindows().size(), 1u);
    EXPECT_TRUE(dir.exists("plan.rtf"));
    EXPECT_TRUE(list->Panel1->isHidden());
    EXPECT_TRUE(list->TreeView1->isVisibleTo(list));
    EXPECT_TRUE(fakes.dialogs.calls.empty());  // no save question yet
    EXPECT_EQ(fakes.beeper.beeps, 0);
}

TEST_F(MemoPadTest, UnreadableMemoIsNeverReplacedUnasked) {
    TList* list = savedList("plan.kxd");
    ASSERT_EQ(::mkdir(dir.file("plan.rtf").c_str(), 0700), 0);  // a memo file no one can read or replace
    toggle(list);
    QTest::keyClicks(list->RichEdit1, "kept");
    const QString path = QString::fromStdString(dir.file("plan.rtf"));
    EXPECT_EQ(fakes.dialogs.messages(), QStringList{"ファイル " + path + " は開けません"});
    EXPECT_TRUE(toolsShown(list));

    fakes.dialogs.confirmAnswers = {true, false};
    toggle(list);  // yes: the write fails, the pad stays open
    toggle(list);  // no: the pad closes, the file stays
    EXPECT_EQ(fakes.dialogs.calls,
              (std::vector<Call>{
                  {"error", {"ファイル " + path + " は開けません"}},
                  {"confirm", {path + " は読み込めなかったメモです。メモ帳の内容で置き換えますか?"}},
                  {"error", {"ファイル " + path + " を作成できません"}},
                  {"confirm", {path + " は読み込めなかったメモです。メモ帳の内容で置き換えますか?"}}}));
    EXPECT_TRUE(list->Panel1->isHidden());
    struct stat st;
    EXPECT_TRUE(::stat(dir.file("plan.rtf").c_str(), &st) == 0 && S_ISDIR(st.st_mode));
}

TEST_F(MemoPadTest, MemoBeingReadShowsSoAndIsNeverWritten) {
    const std::string memo = "{\\rtf1\\ansi read {\\b later}\\par}";  // unlike any file the pad writes
    TList* list = savedList("plan.kxd");
    dir.write("plan.rtf", memo);
    QTextEdit* edit = list->RichEdit1;
    edit->setPlainText("held");
    // Each way a read is left under way: the pad closes, the window is asked to close, the window goes.
    const std::function<void()> leave[] = {[&] { list->ToolButton5->click(); }, [&] { window->close(); },
                                           [&] { window.reset(); }};
    for (size_t i = 0; i < std::size(leave); ++i) {
        SCOPED_TRACE(i);
        list->ToolButton5->click();
        EXPECT_TRUE(edit->isReadOnly());
        EXPECT_EQ(edit->toPlainText(), "メモを読み込んでいます…");
        leave[i]();
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        EXPECT_EQ(dir.read("plan.rtf"), memo);
        if (!window) break;
        EXPECT_TRUE(list->Panel1->isHidden());
        EXPECT_EQ(edit->toPlainText(), "held");
        EXPECT_FALSE(edit->isReadOnly());
    }
}

}  // namespace
}  // namespace tarvelin::test
