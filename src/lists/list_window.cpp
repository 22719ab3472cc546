#include "lists/list_window.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QMenu>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "lists/icon_rules.h"
#include "lists/list_drops.h"
#include "lists/list_file_watch.h"
#include "lists/list_tree_model.h"
#include "lists/list_tree_view.h"
#include "lists/list_window_host.h"
#include "lists/memo_pad.h"
#include "platform/display_name.h"
#include "platform/item_path.h"
#include "platform/palette_colours.h"
#include "settings/settings_file.h"
#include "widgets/error_handler.h"
#include "widgets/image_list.h"
#include "widgets/menu_items.h"

namespace tarvelin {
namespace {

const QString kListFilter = QStringLiteral("プロジェクトファイル(*.kxd)");

QToolButton* addToolButton(QToolBar* bar, const QString& name, ListToolbarImage image, const QString& hint) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setIcon(listToolbarIcon(image));
    button->setToolTip(hint);
    button->setAutoRaise(true);
    bar->addWidget(button);
    return button;
}

}  // namespace

QString listDisplayName(const std::string& path) {
    const QString name = displayName(fileNamePart(path));
    return name.size() <= 4 ? QString() : name.left(name.size() - 4);
}

TList::TList(Services services, ListWindowHost& host, ColourValue bodyColour, QWidget* parent)
    : QWidget(parent), m_services(std::move(services)), m_host(host), m_bodyColour(bodyColour) {
    setObjectName(QStringLiteral("List"));
    setWindowTitle(QStringLiteral("List"));
    m_document = newListDocument();
    m_document.fileName.clear();  // no document has been given to the window yet
    buildControls();
    buildMenus();
    m_memo = new MemoPad(*this, m_services.dialogs);
    m_drops = new ListDrops(*this, m_services.dialogs, m_services.pathProbe);
    m_fileWatch = new ListFileWatch(this);
    connect(m_fileWatch, &ListFileWatch::changed, this, &TList::listFileChanged);
    applyColours();
}

TList::~TList() = default;

void TList::buildControls() {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setMovable(false);
    ToolButton1 = addToolButton(ToolBar1, QStringLiteral("ToolButton1"), ListToolbarImage::Bold, {});
    ToolButton2 = addToolButton(ToolBar1, QStringLiteral("ToolButton2"), ListToolbarImage::Italic, {});
    ToolButton3 = addToolButton(ToolBar1, QStringLiteral("ToolButton3"), ListToolbarImage::Underline, {});
    ToolButton4 = addToolButton(ToolBar1, QStringLiteral("ToolButton4"), ListToolbarImage::ColourPen, {});
    ToolButton5 = addToolButton(ToolBar1, QStringLiteral("ToolButton5"), ListToolbarImage::MemoPad,
                                QStringLiteral("メモ帳切り替え"));
    ToolButton6 = addToolButton(ToolBar1, QStringLiteral("ToolButton6"), ListToolbarImage::Save,
                                QStringLiteral("リストを上書き保存"));
    column->addWidget(ToolBar1);

    m_model = new ListTreeModel(m_document, m_services.pathProbe, this);
    TreeView1 = new ListTreeView(*m_model, this);
    // Panel1 shares the tree's place and covers it while it is shown.
    auto* area = new QGridLayout;
    area->addWidget(TreeView1, 0, 0);
    column->addLayout(area, 1);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* memoLayout = new QVBoxLayout(Panel1);
    memoLayout->setContentsMargins(0, 0, 0, 0);
    RichEdit1 = new QTextEdit(Panel1);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    memoLayout->addWidget(RichEdit1);
    RichEdit1->hide();
    Panel1->hide();
    area->addWidget(Panel1, 0, 0);

    connect(ToolButton6, &QToolButton::clicked, this, [this] { guarded([this] { N4Click(); }); });
    const auto selectionMoved = [this] {
        m_noCurrentAfterRightPress = false;
        refreshCurrentNode();
    };
    connect(TreeView1->selectionModel(), &QItemSelectionModel::currentChanged, this, selectionMoved);
    connect(TreeView1->selectionModel(), &QItemSelectionModel::selectionChanged, this, selectionMoved);
    connect(TreeView1, &QAbstractItemView::doubleClicked, this, &TList::TreeView1DblClick);
    connect(TreeView1, &QAbstractItemView::clicked, this, &TList::TreeView1Click);
    connect(TreeView1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->exec(TreeView1->viewport()->mapToGlobal(pos)); });
    connect(TreeView1, &ListTreeView::rightPressed, this, &TList::setCurrentNode);
    connect(TreeView1, &ListTreeView::renameRequested, this, &TList::renameSelected);
    connect(TreeView1, &ListTreeView::deleteRequested, this, &TList::Delete1Click);
    connect(TreeView1, &ListTreeView::dropped, this, &TList::TreeView1DragDrop);
}

void TList::buildMenus() {
    FileMenu = new QMenu(QStringLiteral("ファイル"), this);
    FileMenu->setObjectName(QStringLiteral("FileMenu"));
    FileMenu->menuAction()->setProperty("group", 2);
    N1 = addMenuItem(FileMenu, QStringLiteral("N1"), QStringLiteral("新規リスト作成"), 24);
    N2 = addMenuItem(FileMenu, QStringLiteral("N2"), QStringLiteral("リストを開く"), 25);
    N4 = addMenuItem(FileMenu, QStringLiteral("N4"), QStringLiteral("リストを上書き保存"), 26);
    N5 = addMenuItem(FileMenu, QStringLiteral("N5"), QStringLiteral("名前をつけてリストを保存"));
    N6 = addMenuSeparator(FileMenu, QStringLiteral("N6"));
    N7 = addMenuItem(FileMenu, QStringLiteral("N7"), QStringLiteral("リストを印刷"));
    N7->setEnabled(false);
    Close1 = addMenuItem(FileMenu, QStringLiteral("Close1"), QStringLiteral("閉じる"));
    N3 = addMenuSeparator(FileMenu, QStringLiteral("N3"));
    Exit1 = addMenuItem(FileMenu, QStringLiteral("Exit1"), QStringLiteral("終了"));

    ToolMenu = new QMenu(QStringLiteral("ツール"), this);
    ToolMenu->setObjectName(QStringLiteral("ToolMenu"));
    ToolMenu->menuAction()->setProperty("group", 3);
    N14 = addMenuItem(ToolMenu, QStringLiteral("N14"), QStringLiteral("メモ帳を開く"), 29);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N8 = addMenuItem(PopupMenu1, QStringLiteral("N8"), QStringLiteral("新しいバインダー"));
    N17 = addMenuItem(PopupMenu1, QStringLiteral("N17"), QStringLiteral("複数バインダーの作成"));
    N16 = addMenuSeparator(PopupMenu1, QStringLiteral("N16"));
    N13 = addMenuItem(PopupMenu1, QStringLiteral("N13"), QStringLiteral("全てのバインダーを開く"));
    N15 = addMenuItem(PopupMenu1, QStringLiteral("N15"), QStringLiteral("全てのバインダーを閉じる"));
    N9 = addMenuSeparator(PopupMenu1, QStringLiteral("N9"));
    Delete1 = addMenuItem(PopupMenu1, QStringLiteral("Delete1"), QStringLiteral("削除"));
    Delete1->setShortcut(QKeySequence(Qt::Key_Delete));
    Delete1->setShortcutContext(Qt::WidgetShortcut);  // Del reaches the tree's own key handling
    N18 = addMenuSeparator(PopupMenu1, QStringLiteral("N18"));
    N19 = addMenuItem(PopupMenu1, QStringLiteral("N19"), QStringLiteral("右画面にツリー表示"));
    N20 = addMenuSeparator(PopupMenu1, QStringLiteral("N20"));
    N21 = addMenuItem(PopupMenu1, QStringLiteral("N21"), QStringLiteral("アイテムを整理する"));

    connect(N1, &QAction::triggered, this, [this] { m_host.newList(); });
    connect(N2, &QAction::triggered, this, [this] { m_host.openList(); });
    connect(N4, &QAction::triggered, this, [this] { guarded([this] { N4Click(); }); });
    connect(N5, &QAction::triggered, this, [this] { guarded([this] { N5Click(); }); });
    connect(Close1, &QAction::triggered, this, &TList::Close1Click);
    connect(Exit1, &QAction::triggered, this, [this] { m_host.exitProgram(); });
    connect(N8, &QAction::triggered, this, [this] { guarded([this] { N8Click(); }); });
    connect(N17, &QAction::triggered, this, [this] { guarded([this] { N17Click(); }); });
    connect(N13, &QAction::triggered, this, &TList::N13Click);
    connect(N15, &QAction::triggered, this, &TList::N15Click);
    connect(Delete1, &QAction::triggered, this, &TList::Delete1Click);
    connect(N19, &QAction::triggered, this, &TList::N19Click);
}

template <class Command>
void TList::guarded(Command command) {
    runAction(m_services.dialogs, command);
}

void TList::applyColours() {
    const QColor body = toQColor(m_bodyColour);
    paintBackground(this, QPalette::Window, body);
    paintToolBarBackground(ToolBar1, body);
    const SettingsFile settings(m_services.programFolder);
    paintBackground(TreeView1, QPalette::Base,
                    toQColor(settings.colour(ColourKey::vtBack, kWindowBackground)));
    paintText(TreeView1, toQColor(settings.colour(ColourKey::vtText, kWindowText)));
}

NodeId TList::selectedNode() const {
    const QModelIndex current = TreeView1->currentIndex();
    if (!current.isValid() || !TreeView1->selectionModel()->isSelected(current)) return kNoNode;
    return m_model->nodeOf(current);
}

void TList::setCurrentNode(NodeId node) {
    m_currentNode = node;
    m_noCurrentAfterRightPress = node == kNoNode;
}

void TList::refreshCurrentNode() {
    // A right press on empty space leaves no current node until the selection moves.
    if (m_noCurrentAfterRightPress) return;
    m_currentNode = selectedNode();
    m_model->applySelectedIconRule(m_currentNode);
}

void TList::loadDocument(const std::string& path, IconAssignment icons) {
    // One reset for reading and icons: the view rebuilds once. A read error skips the icons.
    m_model->load(path, icons);
    showExpansion();
}

void TList::showExpansion() {
    // Only expanded nodes are visited by the view; a 100,000-node list opens with its root alone expanded.
    std::vector<QModelIndex> expanded;
    m_document.tree.visitTreeOrder([&](NodeId node, size_t) {
        if (m_document.tree.isExpanded(node) && m_document.tree.hasChildren(node))
            expanded.push_back(m_model->indexOf(node));
        return true;
    });
    for (const QModelIndex& index : expanded) TreeView1->setExpanded(index, true);
}

void TList::TreeView1DragDrop(QDropEvent* event) {
    guarded([&] { m_drops->drop(*event->mimeData(), event->source(), event->position().toPoint()); });
}

void TList::setListFileName(std::string name) {
    m_document.fileName = std::move(name);
    m_fileWatch->follow(m_document.fileName);
}

void TList::writeTo(const std::string& path) {
    writeListDocument(m_document, path);
    setWindowTitle(displayName(fileNamePart(path)));
    m_model->markSaved();
    m_fileWatch->follow(path);
}

bool TList::saveToOwnFile() {
    const std::string& path = m_document.fileName;
    const std::optional<FileStamp> now = fileStamp(path);
    if (m_document.diskStamp && now && *now != *m_document.diskStamp &&
        !m_services.dialogs.confirm(
            displayName(path) + QStringLiteral("は他のプログラムによって変更されています。上書きしますか?")))
        return false;
    writeTo(path);
    return true;
}

void TList::listFileChanged() {
    const std::optional<FileStamp> now = fileStamp(m_document.fileName);
    if (m_askingToReread || isModified() || !now || !m_document.diskStamp || *now == *m_document.diskStamp)
        return;
    m_askingToReread = true;
    const bool reread = m_services.dialogs.confirm(
        displayName(m_document.fileName) +
        QStringLiteral("は他のプログラムによって変更されました。読み込み直しますか?"));
    m_askingToReread = false;
    // Declined: the stamp stays, so a later save still asks before overwriting that version.
    if (reread && !isModified()) runAction(m_services.dialogs, [&] { loadDocument(m_document.fileName); });
}

void TList::N4Click() {
    if (m_document.isUntitled()) {
        saveAs();
        return;
    }
    saveToOwnFile();
}

void TList::N5Click() {
    saveAs();
}

bool TList::saveAs() {
    FileDialogRequest request;
    request.folder = SettingsFile(m_services.programFolder).treeDir("");
    request.filter = kListFilter;
    request.defaultSuffix = QStringLiteral("kxd");
    const QModelIndex top = TreeView1->indexAt(QPoint(1, 1));
    const NodeId shown = top.isValid() ? m_model->nodeOf(top) : m_document.tree.first();
    if (shown != kNoNode) request.fileName = displayName(proposedListFileName(m_document.tree.text(shown)));
    const std::optional<std::string> chosen = m_services.dialogs.saveFile(request);
    if (!chosen) return false;
    m_document.fileName = *chosen;
    writeTo(*chosen);
    m_host.renameTab(this, listDisplayName(*chosen));
    return true;
}

void TList::Close1Click() {
    if (QWidget* frame = parentWidget())
        frame->close();
    else
        close();
}

bool TList::FormCloseQuery() {
    TreeView1->commitOpenEdit();  // a name still being typed is part of the list the question is about
    if (!m_memo->closeQuery()) return false;
    // While the two panes cover the list windows, a close request only brings the list windows back; so the
    // program's exit then only leaves the mode.
    if (m_host.fileOperationMode()) {
        m_host.leaveFileOperationMode();
        return false;
    }
    if (!isModified()) return true;
    m_services.beeper.beep();
    const QString question = displayName(m_document.fileName) + QStringLiteral("を保存しますか?");
    if (!m_services.dialogs.confirm(question)) return true;
    bool saved = false;
    runAction(m_services.dialogs, [&] {
        // Cancelling the name, or refusing to overwrite another program's version, keeps the window: closing
        // now would lose the changes.
        saved = m_document.isUntitled() ? saveAs() : saveToOwnFile();
    });
    return saved;
}

void TList::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    m_fileWatch->follow({});  // going: the window is deleted later, and must ask nothing meanwhile
    m_host.listWindowClosing(this);
    event->accept();
}

}  // namespace tarvelin
