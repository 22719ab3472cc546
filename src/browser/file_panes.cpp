#include "browser/file_panes.h"

#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>
#include <filesystem>

#include "browser/desktop_places.h"
#include "browser/file_list_box.h"
#include "browser/file_list_menu.h"
#include "browser/file_list_model.h"
#include "browser/file_pane.h"
#include "browser/folder_tree.h"
#include "browser/folder_tree_model.h"
#include "browser/shell_tree_view.h"
#include "platform/display_name.h"
#include "platform/item_path.h"
#include "platform/palette_colours.h"
#include "settings/settings_file.h"

namespace tarvelin {
namespace {

bool isExistingFolder(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

}  // namespace

FilePanes::FilePanes(Dialogs& dialogs, QWidget* leftContainer, QVBoxLayout* leftColumn,
                     QWidget* rightContainer, QWidget* window)
    : QObject(window) {
    m_left = new FilePane({QStringLiteral("ShellTreeView1"), QStringLiteral("Splitter2"),
                           QStringLiteral("FileListBox1"), QStringLiteral("Label1"), 160, 1, true},
                          currentDesktopPlaces(), leftContainer, leftColumn);
    auto* rightColumn = new QVBoxLayout(rightContainer);
    rightColumn->setContentsMargins(0, 0, 0, 0);
    rightColumn->setSpacing(0);
    m_right = new FilePane({QStringLiteral("ShellTreeView2"), QStringLiteral("Splitter4"),
                            QStringLiteral("FileListBox2"), QStringLiteral("Label2"), 184, 2, false},
                           currentDesktopPlaces(), rightContainer, rightColumn);

    connect(m_left, &FilePane::selectionShown, this, [this](const QString& folder) {
        emit statusLineChanged(QStringLiteral("FileListDirectory : ") + folder);
    });

    PopupMenu1 = new FileListMenu(
        dialogs, [this] { return m_currentFileList ? m_currentFileList->selectedCount() : 0; }, window);
    connect(PopupMenu1, &FileListMenu::filterChosen, this, &FilePanes::ApplyFilter);

    PopupMenu3 = new QMenu(window);
    PopupMenu3->setObjectName(QStringLiteral("PopupMenu3"));
    QAction* N21 = PopupMenu3->addAction(QStringLiteral("左側ツリーのルートをデスクトップに変更"));
    N21->setObjectName(QStringLiteral("N21"));
    QAction* N22 = PopupMenu3->addAction(QStringLiteral("右側ツリーのルートをデスクトップに変更"));
    N22->setObjectName(QStringLiteral("N22"));
    connect(N21, &QAction::triggered, this, &FilePanes::N21Click);
    connect(N22, &QAction::triggered, this, &FilePanes::N22Click);

    for (FileListBox* list : {m_left->list(), m_right->list()}) {
        connect(list, &FileListBox::madeCurrent, this, [this, list] { m_currentFileList = list; });
        connect(list, &FileListBox::popupRequested, this,
                [this](const QPoint& at) { PopupMenu1->popup(at); });
        // A double click focuses its list, so the list it came from is the current one.
        connect(list, &FileListBox::DblClick, this, [this, list] {
            m_currentFileList = list;
            FileListBox1DblClick();
        });
    }
}

void FilePanes::setStartupTreeRoot(std::string root) {
    m_startupTreeRoot = std::move(root);
    if (isExistingFolder(m_startupTreeRoot)) m_left->tree()->setRoot(m_startupTreeRoot);
}

void FilePanes::applyColours(const SettingsFile& settings) {
    const auto paintPair = [&](ColourKey back, ColourKey text, QWidget* left, QWidget* right,
                               QPalette::ColorRole role) {
        const QColor backColour = toQColor(settings.colour(back));
        paintBackground(left, role, backColour);
        paintBackground(right, role, backColour);
        const QColor textColour = toQColor(settings.colour(text));
        paintText(left, textColour);
        paintText(right, textColour);
    };
    paintPair(ColourKey::ftBack, ColourKey::ftText, m_left->tree(), m_right->tree(), QPalette::Base);
    paintPair(ColourKey::flBack, ColourKey::flText, m_left->list(), m_right->list(), QPalette::Base);
    paintPair(ColourKey::fiBack, ColourKey::fiText, m_left->label(), m_right->label(), QPalette::Window);
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
    m_right->tree()->setRoot(FolderTree::kDesktop);
}

void FilePanes::ToolButton9Click() {
    m_left->tree()->refreshFromTop();
    m_right->tree()->refreshFromTop();
}

void FilePanes::ToolButton2Click() {
    PopupMenu1->setOpenedByFilterButton();
    PopupMenu1->popup(QCursor::pos());
}

void FilePanes::ApplyFilter(const QString& mask, int icon) {
    const std::string bytes = mask.toStdString();
    m_left->setMask(bytes);
    m_right->setMask(bytes);
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
    FilePane& pane = rightPane ? *m_right : *m_left;
    const std::string shown = normaliseFolder(folder);
    pane.files().showFolder(shown);
    pane.tree()->setRoot(shown);
    pane.folders().setRootCaption(displayName(folder));
}

}  // namespace tarvelin
