#include "browser/file_panes.h"

#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

#include "browser/desktop_places.h"
#include "browser/file_commands.h"
#include "browser/file_list_box.h"
#include "browser/file_list_menu.h"
#include "browser/file_list_model.h"
#include "browser/file_pane.h"
#include "browser/folder_drops.h"
#include "browser/folder_entries.h"
#include "browser/folder_tree.h"
#include "browser/folder_tree_model.h"
#include "browser/shell_tree_view.h"
#include "platform/display_name.h"
#include "platform/item_path.h"
#include "platform/palette_colours.h"
#include "settings/settings_file.h"

namespace tarvelin {
FilePanes::FilePanes(Dialogs& dialogs, FileOperations& operations, QWidget* leftContainer,
                     QVBoxLayout* leftColumn, QWidget* rightContainer, QWidget* window)
    : QObject(window),
      m_commands(std::make_unique<FileCommands>(dialogs, operations)),
      m_folderDrops(new FolderDrops(operations, window)),
      m_rightContainer(rightContainer),
      m_dialogs(dialogs),
      m_window(window) {
    {
        // The left tree's first level and the left list are the same folder at start.
        const SharedFolderReading sharedReading;
        m_left = new FilePane({QStringLiteral("ShellTreeView1"), QStringLiteral("Splitter2"),
                               QStringLiteral("FileListBox1"), QStringLiteral("Label1"), 160, 1, true},
                              currentDesktopPlaces(), leftContainer, leftColumn);
    }

    connect(m_left, &FilePane::selectionShown, this, [this](const QString& folder) {
        emit statusLineChanged(QStringLiteral("FileListDirectory : ") + folder);
    });

    PopupMenu3 = new QMenu(window);
    PopupMenu3->setObjectName(QStringLiteral("PopupMenu3"));
    QAction* N21 = PopupMenu3->addAction(QStringLiteral("左側ツリーのルートをデスクトップに変更"));
    N21->setObjectName(QStringLiteral("N21"));
    QAction* N22 = PopupMenu3->addAction(QStringLiteral("右側ツリーのルートをデスクトップに変更"));
    N22->setObjectName(QStringLiteral("N22"));
    connect(N21, &QAction::triggered, this, &FilePanes::N21Click);
    connect(N22, &QAction::triggered, this, &FilePanes::N22Click);

    // Drops act once the drag is over: a file job or a menu inside the drag's own loop would hold the
    // dragging side until it ends.
    m_folderDrops->setTrees(m_left->tree(), nullptr);
    connectPane(*m_left);
}

FilePanes::~FilePanes() = default;

FileListMenu& FilePanes::fileListMenu() {
    if (PopupMenu1) return *PopupMenu1;
    PopupMenu1 = new FileListMenu(
        m_dialogs, [this] { return m_currentFileList ? m_currentFileList->selectedCount() : 0; }, m_window);
    connect(PopupMenu1, &FileListMenu::filterChosen, this, &FilePanes::ApplyFilter);
    connect(PopupMenu1->Delete1, &QAction::triggered, this, &FilePanes::Delete1Click);
    connect(PopupMenu1->N11, &QAction::triggered, this, &FilePanes::N11Click);
    PopupMenu1->setRenameAvailable(true);
    connect(PopupMenu1->LZH1, &QAction::triggered, this, &FilePanes::LZH1Click);
    return *PopupMenu1;
}

FilePane& FilePanes::right() {
    if (m_right) return *m_right;
    auto* column = new QVBoxLayout(m_rightContainer);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_right = new FilePane({QStringLiteral("ShellTreeView2"), QStringLiteral("Splitter4"),
                            QStringLiteral("FileListBox2"), QStringLiteral("Label2"), 184, 2, false, true},
                           currentDesktopPlaces(), m_rightContainer, column);
    if (m_colours) paint(*m_right, *m_colours);
    m_right->setMask(m_left->files().mask());
    m_folderDrops->setTrees(m_left->tree(), m_right->tree());
    connectPane(*m_right);
    return *m_right;
}

void FilePanes::connectPane(FilePane& pane) {
    ShellTreeView* tree = pane.tree();
    connect(tree, &ShellTreeView::folderDragStarted, this,
            [this, tree] { m_folderDrops->dragStarted(*tree); });
    connect(
        tree, &ShellTreeView::dropped, this,
        [this, tree](const QPoint& at, bool fromTree, const QPoint& global) {
            m_folderDrops->dropped(*tree, at, fromTree, global);
        },
        Qt::QueuedConnection);
    FileListBox* list = pane.list();
    connect(
        list, &FileListBox::filesDropped, this,
        [this, list](const QString& source) { filesDropped(list, source); }, Qt::QueuedConnection);
    connect(list, &FileListBox::madeCurrent, this, [this, list] { m_currentFileList = list; });
    connect(list, &FileListBox::popupRequested, this, [this](const QPoint& at) { fileListMenu().popup(at); });
    // A double click focuses its list, so the list it came from is the current one.
    connect(list, &FileListBox::DblClick, this, [this, list] {
        m_currentFileList = list;
        FileListBox1DblClick();
    });
}

void FilePanes::setFileOperationMode(bool on) {
    m_fileOperationMode = on;
    if (!on && m_right && m_currentFileList == m_right->list()) m_currentFileList = nullptr;
}

FilePane& FilePanes::paneOf(FileListBox* list) const {
    return m_right && list == m_right->list() ? *m_right : *m_left;
}

void FilePanes::Delete1Click() {
    FilePane& pane = paneOf(m_currentFileList);
    m_commands->deleteSelected(m_currentFileList, [&pane] { pane.reread(); });
}

void FilePanes::N11Click() {
    FilePane& pane = paneOf(m_currentFileList);
    m_commands->renameFocused(m_currentFileList, [&pane] { pane.reread(); });
}

void FilePanes::LZH1Click() {
    FileCommands::copyNamesToClipboard(m_currentFileList);
}

void FilePanes::ToolButton3Click() {
    m_commands->newFolder(*m_left->tree());
}

void FilePanes::filesDropped(FileListBox* target, const QString& source) {
    FilePane& to = paneOf(target);
    FilePane& from = &to == m_left ? right() : *m_left;
    if (source != from.list()->objectName()) return;  // only the other pane's list copies here
    m_commands->copyAcross(*from.list(), *target, [&to] { to.reread(); });
}

void FilePanes::setStartupTreeRoot(std::string root) {
    m_startupTreeRoot = std::move(root);
    if (!m_startupTreeRoot.empty()) m_left->tree()->folders().setRootIfFolder(m_startupTreeRoot);
}

void FilePanes::applyColours(const SettingsFile& settings) {
    const auto colour = [&settings](ColourKey key) { return toQColor(settings.colour(key)); };
    m_colours = PaneColours{colour(ColourKey::ftBack), colour(ColourKey::ftText), colour(ColourKey::flBack),
                            colour(ColourKey::flText), colour(ColourKey::fiBack), colour(ColourKey::fiText)};
    paint(*m_left, *m_colours);
    if (m_right) paint(*m_right, *m_colours);
}

void FilePanes::paint(FilePane& pane, const PaneColours& colours) {
    paintBackground(pane.tree(), QPalette::Base, colours.treeBack);
    paintText(pane.tree(), colours.treeText);
    paintBackground(pane.list(), QPalette::Base, colours.listBack);
    paintText(pane.list(), colours.listText);
    paintBackground(pane.label(), QPalette::Window, colours.stripBack);
    paintText(pane.label(), colours.stripText);
}

void FilePanes::ToolButton8Click() {
    // Also a start-up folder that has gone since: the tree then shows it without subfolders and the list is
    // empty.
    m_left->tree()->setRoot(m_startupTreeRoot);
}

void FilePanes::ToolButton1Click() {
    if (m_fileOperationMode) {
        PopupMenu3->popup(QCursor::pos());
        return;
    }
    m_left->tree()->setRoot(FolderTree::kDesktop);
}

void FilePanes::N21Click() {
    m_left->tree()->setRoot(FolderTree::kDesktop);
}

void FilePanes::N22Click() {
    right().tree()->setRoot(FolderTree::kDesktop);
}

void FilePanes::ToolButton9Click() {
    m_left->tree()->refreshFromTop();
    if (m_right) m_right->tree()->refreshFromTop();
}

void FilePanes::ToolButton2Click() {
    FileListMenu& menu = fileListMenu();
    menu.setOpenedByFilterButton();
    menu.popup(QCursor::pos());
}

void FilePanes::ApplyFilter(const QString& mask, int icon) {
    const std::string bytes = mask.toStdString();
    m_left->setMask(bytes);
    if (m_right) m_right->setMask(bytes);
    emit filterIconChanged(icon);
}

void FilePanes::FileListBox1DblClick() {
    if (!m_currentFileList) return;
    const QModelIndex focused = m_currentFileList->currentIndex();
    if (!focused.isValid()) return;  // an empty list
    FocusedFile file;
    file.name = focused.data(FileListModel::NameRole).toByteArray().toStdString();
    file.itemPath = focused.data(FileListModel::PathRole).toByteArray().toStdString();
    file.filePath = m_currentFileList->filePath();
    emit fileOpenRequested(file);
}

void FilePanes::showItemFolder(const std::string& folder, bool rightPane) {
    FilePane& pane = rightPane ? right() : *m_left;
    const std::string shown = normaliseFolder(folder);
    pane.files().showFolder(shown);
    pane.tree()->setRoot(shown);
    pane.folders().setRootCaption(displayName(folder));
}

}  // namespace tarvelin
