#include "lists/memo_pad.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <QLineEdit>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <utility>

#include "lists/list_document.h"
#include "lists/list_tree_model.h"
#include "lists/list_window.h"
#include "lists/memo_file.h"
#include "platform/dialogs.h"
#include "platform/display_name.h"
#include "platform/errors.h"
#include "platform/palette_colours.h"
#include "widgets/error_handler.h"
#include "widgets/up_down.h"

namespace tarvelin {
namespace {

const QString kReadingText = QStringLiteral("メモを読み込んでいます…");
const QString kUntitledMessage = QStringLiteral(
    "保存されていないリストで、メモ帳は使用できません。\rリストを保存後、再度実行してください。");
constexpr int kMinSize = 5;
constexpr int kMaxSize = 80;

int pointSizeOf(const QTextCharFormat& format, const QFont& fallback) {
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
        return qRound(format.fontPointSize());
    if (fallback.pointSizeF() > 0) return qRound(fallback.pointSizeF());
    return qRound(fallback.pixelSize() * 0.75);
}

// The font the editor really draws with: a name the system lacks (a memo made on Windows) shows the font
// that stands in for it. The memo keeps the name it has.
QString familyOf(const QTextCharFormat& format, const QFont& fallback) {
    const QStringList families = format.fontFamilies().toStringList();
    const QString named =
        families.isEmpty() || families.front().isEmpty() ? fallback.family() : families.front();
    // Asked at every move of the caret: each name is looked up once.
    static QHash<QString, QString> shown;
    if (const auto known = shown.constFind(named); known != shown.constEnd()) return *known;
    QString family = QFontDatabase::hasFamily(named) ? named : QString();
    if (family.isEmpty()) {
        const QStringList installed = QFontDatabase::families();
        for (const QString& substitute : QFont::substitutes(named))  // kept in lower case
            for (const QString& candidate : installed)
                if (family.isEmpty() && candidate.compare(substitute, Qt::CaseInsensitive) == 0)
                    family = candidate;
    }
    if (family.isEmpty()) family = QFontInfo(QFont(named)).family();
    shown.insert(named, family);
    return family;
}

}  // namespace

MemoPad::MemoPad(TList& window, Dialogs& dialogs) : QObject(&window), m_window(window), m_dialogs(dialogs) {
    TList& w = m_window;
    w.RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(15);
    w.RichEdit1->setFont(font);

    w.ComboBox1 = new QComboBox(w.ToolBar1);
    w.ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    w.ComboBox1->setEditable(true);
    w.ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    w.ComboBox1->addItems(QFontDatabase::families());
    w.ComboBox1->setFixedWidth(145);
    w.Edit2 = new QLineEdit(w.ToolBar1);
    w.Edit2->setObjectName(QStringLiteral("Edit2"));
    w.Edit2->setAttribute(Qt::WA_InputMethodEnabled, false);
    w.Edit2->setFixedWidth(28);
    w.UpDown1 = new UpDown(*w.Edit2, kMinSize, kMaxSize, 10, w.ToolBar1);
    w.UpDown1->setObjectName(QStringLiteral("UpDown1"));
    w.Edit2->setText(QStringLiteral("10"));

    QAction* before = nullptr;
    for (QAction* action : w.ToolBar1->actions())
        if (w.ToolBar1->widgetForAction(action) == w.ToolButton5) before = action;
    for (QToolButton* button : {w.ToolButton1, w.ToolButton2, w.ToolButton3, w.ToolButton4}) {
        for (QAction* action : w.ToolBar1->actions())
            if (w.ToolBar1->widgetForAction(action) == button) m_tools.push_back(action);
    }
    for (QWidget* tool : std::initializer_list<QWidget*>{w.ComboBox1, w.Edit2, w.UpDown1})
        m_tools.push_back(w.ToolBar1->insertWidget(before, tool));
    showTools(false);
    for (QToolButton* button : {w.ToolButton1, w.ToolButton2, w.ToolButton3}) {
        button->setCheckable(true);
        // The pressed look follows the selection only; a click must not flip it.
        connect(button, &QToolButton::clicked, this,
                [button](bool checked) { button->setChecked(!checked); });
    }

    const auto guarded = [this](void (MemoPad::*handler)()) {
        return [this, handler] { runAction(m_dialogs, [&] { (this->*handler)(); }); };
    };
    connect(w.N14, &QAction::triggered, this, guarded(&MemoPad::N14Click));
    connect(w.ToolButton5, &QToolButton::clicked, this, guarded(&MemoPad::N14Click));
    connect(w.ToolButton1, &QToolButton::pressed, this, guarded(&MemoPad::ToolButton1MouseDown));
    connect(w.ToolButton2, &QToolButton::pressed, this, guarded(&MemoPad::ToolButton2MouseDown));
    connect(w.ToolButton3, &QToolButton::pressed, this, guarded(&MemoPad::ToolButton3MouseDown));
    connect(w.ToolButton4, &QToolButton::clicked, this, guarded(&MemoPad::ToolButton4Click));
    connect(w.ComboBox1, &QComboBox::activated, this,
            [this](int index) { runAction(m_dialogs, [&] { ComboBox1Click(index); }); });
    // The arrows and a pasted text take effect at once; typed digits when Enter or a click elsewhere
    // confirms them.
    connect(w.Edit2, &QLineEdit::textEdited, this, [this] { m_sizeBeingTyped = true; });
    connect(w.Edit2, &QLineEdit::textChanged, this, [this] {
        if (!m_sizeBeingTyped) runAction(m_dialogs, [&] { Edit2Change(); });
    });
    // An arrow steps from what was typed and confirms it (the arrows run their step before this).
    for (QToolButton* arrow : {w.UpDown1->upButton(), w.UpDown1->downButton()})
        connect(arrow, &QToolButton::clicked, this, [this] {
            if (std::exchange(m_sizeBeingTyped, false)) runAction(m_dialogs, [&] { Edit2Change(); });
        });
    connect(w.Edit2, &QLineEdit::editingFinished, this, [this] {
        if (!std::exchange(m_sizeBeingTyped, false)) return;
        // An emptied box goes back to the size shown; anything else is read as the arrows' text is.
        if (m_window.Edit2->text().isEmpty())
            m_window.Edit2->setText(QString::number(m_window.UpDown1->position()));
        else
            runAction(m_dialogs, [&] { Edit2Change(); });
    });
    connect(w.RichEdit1, &QTextEdit::cursorPositionChanged, this, &MemoPad::RichEdit1SelectionChange);
    connect(w.RichEdit1, &QTextEdit::selectionChanged, this, &MemoPad::RichEdit1SelectionChange);
    w.N14->setEnabled(true);
    w.ToolButton5->setEnabled(true);
}

MemoPad::~MemoPad() = default;

bool MemoPad::isOpen() const {
    return !m_window.Panel1->isHidden();
}

void MemoPad::showTools(bool shown) {
    for (QAction* tool : m_tools) tool->setVisible(shown);
}

void MemoPad::N14Click() {
    const std::string& listFile = m_window.listFileName();
    // A window whose list could not be read has no file name either: no memo file belongs to it.
    if (listFile == kUntitled || listFile.empty()) {
        m_dialogs.message(kUntitledMessage);
        return;
    }
    m_memoFileName = memoFileName(listFile);
    if (isOpen())
        close();
    else
        open();
}

void MemoPad::open() {
    TList& w = m_window;
    w.Panel1->show();
    w.RichEdit1->show();
    showTools(true);
    w.N14->setText(QStringLiteral("メモ帳を閉じる"));
    startReading();
}

std::unique_ptr<QTextDocument> MemoPad::showDocument(std::unique_ptr<QTextDocument> document) {
    QTextEdit* edit = m_window.RichEdit1;
    QTextDocument* shown = edit->document();
    shown->setParent(nullptr);  // the editor would delete a document it owns
    document->moveToThread(thread());
    document->setParent(edit);
    document->setDefaultFont(shown->defaultFont());
    edit->setDocument(document.release());
    return std::unique_ptr<QTextDocument>(shown);
}

void MemoPad::startReading() {
    auto placeholder = std::make_unique<QTextDocument>();
    placeholder->setPlainText(kReadingText);
    m_held = showDocument(std::move(placeholder));
    m_window.RichEdit1->setReadOnly(true);
    const unsigned generation = ++m_readGeneration;
    readMemoFileLater(m_memoFileName, *this, [this, generation](MemoRead read) {
        if (generation == m_readGeneration) finishReading(std::move(read));
    });
}

void MemoPad::finishReading(MemoRead read) {
    QTextEdit* edit = m_window.RichEdit1;
    edit->setReadOnly(false);
    if (read.document) {
        showDocument(std::move(read.document));
        m_held.reset();
        edit->moveCursor(QTextCursor::Start);
        edit->document()->setModified(false);
        m_diskStamp = read.stamp;
    } else {
        m_diskStamp.reset();
        showDocument(std::move(m_held));
    }
    if (read.error.empty()) {
        if (m_unreadFile == m_memoFileName) m_unreadFile.clear();
    } else {
        // The pad keeps what it held; the file is kept until the user agrees to replace it.
        m_unreadFile = m_memoFileName;
        m_dialogs.error(QString::fromStdString(read.error));
    }
    RichEdit1SelectionChange();
}

void MemoPad::close() {
    TList& w = m_window;
    if (m_held) {  // nothing has been read yet, so there is nothing to write
        ++m_readGeneration;
        showDocument(std::move(m_held));
        w.RichEdit1->setReadOnly(false);
    } else {
        QTextDocument& memo = *w.RichEdit1->document();
        const bool keepFile =
            m_memoFileName == m_unreadFile &&
            !m_dialogs.confirm(displayName(m_memoFileName) +
                               QStringLiteral(" は読み込めなかったメモです。メモ帳の内容で置き換えますか?"));
        // A memo read and left as it was keeps its file's bytes; one another program wrote meanwhile is
        // overwritten only when the user agrees, else the pad stays open with the user's text.
        const std::optional<FileStamp> now = fileStamp(m_memoFileName);
        const bool untouched = m_diskStamp && now && !memo.isModified();
        if (!keepFile && !untouched) {
            if (m_diskStamp && now && *now != *m_diskStamp &&
                !m_dialogs.confirm(
                    displayName(m_memoFileName) +
                    QStringLiteral("は他のプログラムによって変更されています。上書きしますか?")))
                return;
            m_diskStamp = writeMemoFile(m_memoFileName, memo);
            memo.setModified(false);
        }
        if (m_memoFileName == m_unreadFile) m_unreadFile.clear();
    }
    w.Panel1->hide();
    showTools(false);
    w.N14->setText(QStringLiteral("メモ帳を開く"));
    w.RichEdit1->hide();
}

bool MemoPad::closeQuery() {
    if (!isOpen()) return true;
    runAction(m_dialogs, [this] { N14Click(); });
    return false;
}

void MemoPad::RichEdit1SelectionChange() {
    TList& w = m_window;
    const QTextCharFormat format = w.RichEdit1->currentCharFormat();
    const QFont fallback = w.RichEdit1->document()->defaultFont();
    w.ToolButton1->setChecked(format.fontWeight() > QFont::Medium);
    w.ToolButton2->setChecked(format.fontItalic());
    w.ToolButton3->setChecked(format.fontUnderline());
    w.ComboBox1->setCurrentText(familyOf(format, fallback));
    // Showing the size must not apply it: that would give a selection of mixed sizes one size.
    m_showingSelection = true;
    w.UpDown1->setPosition(pointSizeOf(format, fallback));
    m_showingSelection = false;
}

int MemoPad::readSizeBox() const {
    const QString text = m_window.Edit2->text();
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok) throw UserError(formatMessage("'%s' は整数ではありません", text.toStdString()));
    return value;
}

void MemoPad::Edit2Change() {
    if (m_showingSelection) return;
    TList& w = m_window;
    if (readSizeBox() > w.UpDown1->maximum()) w.Edit2->setText(QString::number(w.UpDown1->maximum()));
    if (readSizeBox() < w.UpDown1->minimum()) w.Edit2->setText(QString::number(w.UpDown1->minimum()));
    const int size = readSizeBox();
    const QSignalBlocker quiet(w.Edit2);
    w.UpDown1->setPosition(size);
    QTextCharFormat format;
    format.setFontPointSize(w.UpDown1->position());
    w.RichEdit1->mergeCurrentCharFormat(format);
}

void MemoPad::ToolButton1MouseDown() {
    QTextCharFormat format;
    format.setFontWeight(m_window.ToolButton1->isChecked() ? QFont::Normal : QFont::Bold);
    m_window.RichEdit1->mergeCurrentCharFormat(format);
}

void MemoPad::ToolButton2MouseDown() {
    QTextCharFormat format;
    format.setFontItalic(!m_window.ToolButton2->isChecked());
    m_window.RichEdit1->mergeCurrentCharFormat(format);
}

void MemoPad::ToolButton3MouseDown() {
    QTextCharFormat format;
    format.setFontUnderline(!m_window.ToolButton3->isChecked());
    m_window.RichEdit1->mergeCurrentCharFormat(format);
}

void MemoPad::ToolButton4Click() {
    const std::optional<ColourValue> chosen = m_dialogs.chooseColour(m_lastColour);
    if (!chosen) return;
    m_lastColour = *chosen;
    QTextCharFormat format;
    format.setForeground(toQColor(*chosen));
    m_window.RichEdit1->mergeCurrentCharFormat(format);
}

void MemoPad::ComboBox1Click(int index) {
    QTextCharFormat format;
    format.setFontFamilies({m_window.ComboBox1->itemText(index)});
    m_window.RichEdit1->mergeCurrentCharFormat(format);
}

}  // namespace tarvelin
