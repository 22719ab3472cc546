// The main window's file browser: the two panes, the tree-root commands, the file-type filter and the current
// file list.
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>
#include <filesystem>

#include "app/image_list.h"
#include "app/main_window.h"
#include "browser/desktop_places.h"
#include "browser/file_list_box.h"
#include "browser/file_list_menu.h"
#include "browser/file_pane.h"
#include "browser/folder_tree.h"
#include "browser/shell_tree_view.h"

namespace tarvelin {

namespace {

bool isExistingFolder(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

}  // namespace

void TKX2::buildLeftFilePane(QVBoxLayout* column) {
    m_leftPane = new FilePane({QStringLiteral("ShellTreeView1"), QStringLiteral("Splitter2"),
                               QStringLiteral("FileListBox1"), QStringLiteral("Label1"), 160, 1, true},
                              currentDesktopPlaces(), Panel1, column);
    ShellTreeView1 = m_leftPane->tree();
    Splitter2 = m_leftPane->splitter();
    FileListBox1 = m_leftPane->list();
    Label1 = m_leftPane->label();
}

void TKX2::buildBrowser() {
    auto* column = new QVBoxLayout(Panel3);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_rightPane = new FilePane({QStringLiteral("ShellTreeView2"), QStringLiteral("Splitter4"),
                                QStringLiteral("FileListBox2"), QStringLiteral("Label2"), 184, 2, false},
                               currentDesktopPlaces(), Panel3, column);
    ShellTreeView2 = m_rightPane->tree();
    Splitter4 = m_rightPane->splitter();
    FileListBox2 = m_rightPane->list();
    Label2 = m_rightPane->label();

    connect(m_leftPane, &FilePane::selectionShown, this, [this](const QString& folder) {
        setStatusLine(QStringLiteral("FileListDirectory : ") + folder);
    });

    PopupMenu1 = new FileListMenu(
        m_services.dialogs, [this] { return m_currentFileList ? m_currentFileList->selectedCount() : 0; },
        this);
    connect(PopupMenu1, &FileListMenu::filterChosen, this, &TKX2::ApplyFilter);

    PopupMenu3 = new QMenu(this);
    PopupMenu3->setObjectName(QStringLiteral("PopupMenu3"));
    N21 = PopupMenu3->addAction(QStringLiteral("左側ツリーのルートをデスクトップに変更"));
    N21->setObjectName(QStringLiteral("N21"));
    N22 = PopupMenu3->addAction(QStringLiteral("右側ツリーのルートをデスクトップに変更"));
    N22->setObjectName(QStringLiteral("N22"));
    connect(N21, &QAction::triggered, this, &TKX2::N21Click);
    connect(N22, &QAction::triggered, this, &TKX2::N22Click);

    for (FileListBox* list : {FileListBox1, FileListBox2}) {
        connect(list, &FileListBox::madeCurrent, this, [this, list] { m_currentFileList = list; });
        connect(list, &FileListBox::popupRequested, this,
                [this](const QPoint& at) { PopupMenu1->popup(at); });
        connect(list, &FileListBox::DblClick, this, &TKX2::FileListBox1DblClick);
    }

    connect(ToolButton8, &QToolButton::clicked, this, &TKX2::ToolButton8Click);
    connect(ToolButton1, &QToolButton::clicked, this, &TKX2::ToolButton1Click);
    connect(ToolButton2, &QToolButton::clicked, this, &TKX2::ToolButton2Click);
    connect(ToolButton9, &QToolButton::clicked, this, &TKX2::ToolButton9Click);
}

void TKX2::applyStartupTreeRoot() {
    if (isExistingFolder(m_startupTreeRoot)) ShellTreeView1->setRoot(m_startupTreeRoot);
}

void TKX2::ToolButton8Click() {
    // Also a start-up folder that has gone since: the tree then shows it without subfolders and the list is
    // empty.
    ShellTreeView1->setRoot(m_startupTreeRoot);
}

void TKX2::ToolButton1Click() {
    if (fileOperationMode()) {
        PopupMenu3->popup(QCursor::pos());
        return;
    }
    ShellTreeView1->setRoot(FolderTree::kDesktop);
}

void TKX2::N21Click() {
    ShellTreeView1->setRoot(FolderTree::kDesktop);
}

void TKX2::N22Click() {
    ShellTreeView2->setRoot(FolderTree::kDesktop);
}

void TKX2::ToolButton9Click() {
    ShellTreeView1->refreshFromTop();
    ShellTreeView2->refreshFromTop();
}

void TKX2::ToolButton2Click() {
    PopupMenu1->setOpenedByFilterButton();
    PopupMenu1->popup(QCursor::pos());
}

void TKX2::ApplyFilter(const QString& mask, int icon) {
    const std::string bytes = mask.toStdString();
    m_leftPane->setMask(bytes);
    m_rightPane->setMask(bytes);
    ToolButton2->setIcon(imageListIcon(icon));
}

void TKX2::FileListBox1DblClick() {
    // Opening the focused file of the current list, its log line and opening list documents come with the
    // file-opening commands.
}

}  // namespace tarvelin
