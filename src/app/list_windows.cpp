#include "app/list_windows.h"

#include <QAction>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTextEdit>

#include "app/active_list_mark.h"
#include "app/operation_log.h"
#include "app/tab_column.h"
#include "lists/list_tree_model.h"
#include "lists/list_tree_view.h"
#include "lists/list_window.h"
#include "platform/display_name.h"
#include "platform/item_path.h"
#include "settings/settings_file.h"
#include "widgets/error_handler.h"

namespace tarvelin {
namespace {

QMdiSubWindow* frameOf(QWidget* window) {
    return qobject_cast<QMdiSubWindow*>(window->parentWidget());
}

QString tabNameOf(const QString& caption) {
    return caption.size() <= 4 ? QString() : caption.left(caption.size() - 4);
}

}  // namespace

ListOpening ListOpening::openCommand(const std::string& path) {
    return {displayName(fileNamePart(path)), true, {}, true, IconAssignment::OnOpening};
}

ListOpening ListOpening::fromFileList(const std::string& path, const QString& listedName) {
    return {listedName, true, displayName(path) + QStringLiteral("を開きました。"), true,
            IconAssignment::OnOpening};
}

ListOpening ListOpening::nested(const std::string& path) {
    return {displayName(path), false, {}, false, IconAssignment::Simple};
}

ListOpening ListOpening::autoOpen(const std::string& path) {
    return {displayName(fileNamePart(path)), false, {}, false, IconAssignment::OnOpening};
}

ListWindows::ListWindows(Services services, QMdiArea* area, QTabBar* tabBar, Menus menus, OperationLog& log,
                         std::function<bool()> fileOperationMode,
                         std::function<void()> leaveFileOperationMode, QObject* parent)
    : QObject(parent),
      m_services(std::move(services)),
      m_area(area),
      m_menus(menus),
      m_log(log),
      m_fileOperationMode(std::move(fileOperationMode)),
      m_leaveFileOperationMode(std::move(leaveFileOperationMode)) {
    m_tabs = new TabColumn(
        tabBar,
        [this](QWidget* window) {
            // Shown and raised as it is: tiled windows stay tiled; the area keeps a maximised one maximised.
            if (QMdiSubWindow* frame = frameOf(window)) {
                if (frame->isMinimized()) frame->showNormal();
                frame->show();
                frame->raise();
                m_area->setActiveSubWindow(frame);
            }
        },
        this);
    m_activeMark = new ActiveListMark(m_area);
    // Ctrl+F6 walks the list windows as Ctrl+Tab does, anywhere in the main window.
    const auto addWindowKey = [this](const QKeySequence& key, void (QMdiArea::*step)()) {
        auto* action = new QAction(m_area);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, m_area, step);
        m_area->addAction(action);
    };
    addWindowKey(QKeySequence(Qt::CTRL | Qt::Key_F6), &QMdiArea::activateNextSubWindow);
    addWindowKey(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6), &QMdiArea::activatePreviousSubWindow);
    connect(m_area, &QMdiArea::subWindowActivated, this, &ListWindows::listWindowActivated);
    m_area->window()->installEventFilter(this);
}

bool ListWindows::eventFilter(QObject* watched, QEvent* event) {
    // The area merges a maximised child's caption into the frame's title on some roads only (not after a tab
    // click, a close, or a list made while the two panes cover the area): the title is kept here instead.
    if (watched == m_area->window() && event->type() == QEvent::WindowTitleChange) showActiveCaption();
    return QObject::eventFilter(watched, event);
}

void ListWindows::showActiveCaption() {
    QWidget* frame = m_area->window();
    const QMdiSubWindow* active = m_area->isVisibleTo(frame) ? m_area->activeSubWindow() : nullptr;
    const auto* list = active ? qobject_cast<const TList*>(active->widget()) : nullptr;
    const QString title = list && !list->windowTitle().isEmpty()
                              ? QStringLiteral("Tarvelin2 - [%1]").arg(list->windowTitle())
                              : QStringLiteral("Tarvelin2");
    if (frame->windowTitle() != title) frame->setWindowTitle(title);
}

void ListWindows::detach() {
    disconnect(m_area, nullptr, this, nullptr);
    m_area->window()->removeEventFilter(this);
}

TList* ListWindows::createListWindow() {
    auto* list = new TList(m_services, *this, m_bodyColour);
    QMdiSubWindow* frame = m_area->addSubWindow(list, Qt::FramelessWindowHint);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    m_tabs->addTab(list);
    connect(list, &QWidget::windowTitleChanged, this, &ListWindows::showActiveCaption);
    frame->showMaximized();
    m_area->setActiveSubWindow(frame);
    return list;
}

std::vector<TList*> ListWindows::listWindows() const {
    std::vector<TList*> lists;
    for (QMdiSubWindow* frame : m_area->subWindowList(QMdiArea::CreationOrder))
        if (auto* list = qobject_cast<TList*>(frame->widget())) lists.push_back(list);
    return lists;
}

ListWindows::Opened ListWindows::openListFile(const std::string& path, const ListOpening& how) {
    if (!how.logLine.isEmpty()) m_log.appendLine(how.logLine);
    if (how.refuseSameName) {
        for (TList* open : listWindows()) {
            if (open->windowTitle() == how.caption) {
                m_services.dialogs.message(
                    QStringLiteral("すでに開かれていると同じ名前のファイルは、同時に開くことができません"));
                return {};
            }
        }
    }
    TList* list = createListWindow();
    if (!runAction(m_services.dialogs, [&] { list->loadDocument(path, how.icons); })) return {list, false};
    list->setListFileName(path);
    list->setWindowTitle(how.caption);
    if (how.nameTab) m_tabs->nameLastTab(tabNameOf(how.caption));
    return {list, true};
}

void ListWindows::itemNotFound(const std::string& path) {
    const QString text = QStringLiteral("%1 が見つかりません").arg(displayName(path));
    m_log.appendLine(text);
    emit statusLineRequested(text);
}

void ListWindows::discard(TList* window) {
    listWindowClosing(window);
    delete window->parentWidget();  // the frame, and the window with it
}

void ListWindows::New1Click() {
    TList* list = createListWindow();
    list->setListFileName(std::string(kUntitled));
    list->setWindowTitle(QStringLiteral("Untitled"));
    m_tabs->nameLastTab(QStringLiteral("Untitled"));
}

void ListWindows::N2Click() {
    FileDialogRequest request;
    request.folder = SettingsFile(m_services.programFolder).dlgDir("");
    request.filter = QStringLiteral("プロジェクトファイル(*.kxd)");
    const std::optional<std::string> path = m_services.dialogs.openFile(request);
    if (path) openListFile(*path, ListOpening::openCommand(*path));
}

void ListWindows::rwe1Click() {
    // Horizontal tiling: every window the full width of the area, stacked from top to bottom.
    const QList<QMdiSubWindow*> frames = m_area->subWindowList(QMdiArea::CreationOrder);
    if (frames.isEmpty()) return;
    const QRect area = m_area->viewport()->rect();
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

void ListWindows::renameTab(TList* window, const QString& text) {
    m_tabs->renameTab(window, text);
}

void ListWindows::listWindowClosing(TList* window) {
    if (m_mergedList == window) mergeMenusOf(nullptr);
    m_tabs->removeTabOf(window);
}

void ListWindows::listWindowActivated(QMdiSubWindow* frame) {
    auto* list = frame ? qobject_cast<TList*>(frame->widget()) : nullptr;
    m_activeMark->follow(list ? frame : nullptr);
    if (list) {
        keepFocusIn(list);
        m_tabs->selectTabOf(list);
        mergeMenusOf(list);
    } else if (listWindows().empty()) {
        mergeMenusOf(nullptr);
    }
    showActiveCaption();
}

void ListWindows::keepFocusIn(TList* list) {
    // The main window gives the focus back to the widget that had it when it is reactivated (after a modal
    // dialog, for one), and the area activates the window holding that widget: it must be this one. While
    // the main window is inactive, setFocus only notes the widget for that moment.
    const QWidget* held = m_area->window()->focusWidget();
    if (held && list->isAncestorOf(held)) return;
    QWidget* target = list->focusWidget();
    if (!target || !target->isVisible()) target = list->TreeView1;
    if (!target->isVisible()) target = list->RichEdit1;  // the memo pad covers the tree
    target->setFocus(Qt::OtherFocusReason);
}

void ListWindows::mergeMenusOf(TList* list) {
    if (list == m_mergedList) return;
    if (m_mergedList) {
        m_menus.bar->removeAction(m_mergedList->FileMenu->menuAction());
        m_menus.bar->removeAction(m_mergedList->ToolMenu->menuAction());
    }
    m_mergedList = list;
    // The list's "ファイル" (group 2) stands in for the main one; its "ツール" (group 3) goes before
    // "ｳｨﾝﾄﾞｳ".
    m_menus.file->menuAction()->setVisible(list == nullptr);
    if (list) {
        m_menus.bar->insertAction(m_menus.window->menuAction(), list->FileMenu->menuAction());
        m_menus.bar->insertAction(m_menus.window->menuAction(), list->ToolMenu->menuAction());
    }
}

}  // namespace tarvelin
