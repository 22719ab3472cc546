// The main window's side of the list windows: creating and opening them, their tabs, tiling and menu merging.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QToolButton>

#include "app/error_handler.h"
#include "app/main_window.h"
#include "app/tab_column.h"
#include "lists/list_tree_model.h"
#include "lists/list_window.h"
#include "settings/settings_file.h"

namespace tarvelin {
namespace {

QMdiSubWindow* frameOf(QWidget* window) {
    return qobject_cast<QMdiSubWindow*>(window->parentWidget());
}

}  // namespace

void TKX2::setUpListWindows() {
    m_tabs = new TabColumn(
        TabControl1,
        [this](QWidget* window) {
            if (QMdiSubWindow* frame = frameOf(window)) {
                frame->showMaximized();
                m_mdiArea->setActiveSubWindow(frame);
            }
        },
        this);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &TKX2::listWindowActivated);
    connect(New1, &QAction::triggered, this, &TKX2::New1Click);
    connect(N2, &QAction::triggered, this, &TKX2::N2Click);
    connect(rwe1, &QAction::triggered, this, &TKX2::rwe1Click);
    connect(ToolButton4, &QToolButton::clicked, this, &TKX2::New1Click);
    connect(ToolButton5, &QToolButton::clicked, this, &TKX2::N2Click);
    for (QAction* command : {New1, N2, rwe1}) command->setEnabled(true);
    for (QToolButton* button : {ToolButton4, ToolButton5}) button->setEnabled(true);
}

TList* TKX2::createListWindow() {
    auto* list = new TList(m_services, *this, m_bodyColour);
    QMdiSubWindow* frame = m_mdiArea->addSubWindow(list, Qt::FramelessWindowHint);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    m_tabs->addTab(list);
    frame->showMaximized();
    m_mdiArea->setActiveSubWindow(frame);
    return list;
}

std::vector<TList*> TKX2::listWindows() const {
    std::vector<TList*> lists;
    for (QMdiSubWindow* frame : m_mdiArea->subWindowList(QMdiArea::CreationOrder))
        if (auto* list = qobject_cast<TList*>(frame->widget())) lists.push_back(list);
    return lists;
}

void TKX2::New1Click() {
    TList* list = createListWindow();
    list->setListFileName(std::string(kUntitled));
    list->setWindowTitle(QStringLiteral("Untitled"));
    m_tabs->nameLastTab(QStringLiteral("Untitled"));
}

void TKX2::N2Click() {
    FileDialogRequest request;
    request.folder = SettingsFile(m_programFolder).dlgDir("");
    request.filter = QStringLiteral("プロジェクトファイル(*.kxd)");
    const std::optional<std::string> path = m_services.dialogs.openFile(request);
    if (!path) return;
    const QString name = displayText(fileNamePart(*path));
    for (TList* open : listWindows()) {
        if (open->windowTitle() == name) {
            m_services.dialogs.message(
                QStringLiteral("すでに開かれていると同じ名前のファイルは、同時に開くことができません"));
            return;
        }
    }
    TList* list = createListWindow();
    // A file that cannot be read leaves the window open, captioned "List", its tab "Temp".
    if (!runAction(m_services.dialogs, [&] { list->loadDocument(*path); })) return;
    list->setListFileName(*path);
    list->setWindowTitle(name);
    m_tabs->nameLastTab(listDisplayName(*path));
}

void TKX2::rwe1Click() {
    // Horizontal tiling: every window the full width of the area, stacked from top to bottom.
    const QList<QMdiSubWindow*> frames = m_mdiArea->subWindowList(QMdiArea::CreationOrder);
    if (frames.isEmpty()) return;
    const QRect area = m_mdiArea->viewport()->rect();
    const int height = area.height() / static_cast<int>(frames.size());
    int top = 0;
    for (int i = 0; i < frames.size(); ++i) {
        QMdiSubWindow* frame = frames[i];
        frame->showNormal();
        const int h = i + 1 == frames.size() ? area.height() - top : height;
        frame->setGeometry(0, top, area.width(), h);
        top += h;
    }
}

void TKX2::renameTab(TList* window, const QString& text) {
    m_tabs->renameTab(window, text);
}

void TKX2::listWindowClosing(TList* window) {
    if (m_mergedList == window) mergeMenusOf(nullptr);
    m_tabs->removeTabOf(window);
}

void TKX2::listWindowActivated(QMdiSubWindow* frame) {
    auto* list = frame ? qobject_cast<TList*>(frame->widget()) : nullptr;
    if (list) {
        m_tabs->selectTabOf(list);
        mergeMenusOf(list);
    } else if (listWindows().empty()) {
        mergeMenusOf(nullptr);
    }
}

void TKX2::mergeMenusOf(TList* list) {
    if (list == m_mergedList) return;
    if (m_mergedList) {
        MainMenu1->removeAction(m_mergedList->FileMenu->menuAction());
        MainMenu1->removeAction(m_mergedList->ToolMenu->menuAction());
    }
    m_mergedList = list;
    // The list's "ファイル" (group 2) stands in for the main one; its "ツール" (group 3) goes before
    // "ｳｨﾝﾄﾞｳ".
    File1->menuAction()->setVisible(list == nullptr);
    if (list) {
        MainMenu1->insertAction(Window1->menuAction(), list->FileMenu->menuAction());
        MainMenu1->insertAction(Window1->menuAction(), list->ToolMenu->menuAction());
    }
}

}  // namespace tarvelin
