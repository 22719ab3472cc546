#include "lists/list_drops.h"

#include <QCursor>
#include <QDialog>
#include <QDragMoveEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "lists/list_tree_model.h"
#include "lists/list_tree_view.h"
#include "lists/list_window.h"
#include "lists/node_kinds.h"
#include "lists/path_kind_service.h"
#include "lists/uri_list.h"
#include "platform/dialogs.h"
#include "platform/display_name.h"
#include "widgets/pane_drag.h"

namespace tarvelin {
namespace {

const QString kAimAtBinder = QStringLiteral("バインダーにドラッグしてください");
const QString kNoLevelUnderItem = QStringLiteral("ファイルまたはフォルダに下位の階層を作ることはできません");
const QString kNotLocal = QStringLiteral(
    "ローカルのファイルやフォルダではない項目はリストに追加できません（%1個を追加しませんでした）");
const QString kRefused = QStringLiteral("次の項目は名前に使えない文字を含むため追加しませんでした：");
// A message box stays readable however many or long the refused URIs are.
constexpr size_t kRefusedShown = 5;
constexpr qsizetype kUriShown = 200;

QString otherProgramMessage(const UriListPaths& found) {
    QStringList lines;
    if (found.ignored > 0) lines << kNotLocal.arg(found.ignored);
    if (found.refused.empty()) return lines.join(u'\n');
    lines << kRefused;
    for (size_t i = 0; i < std::min(found.refused.size(), kRefusedShown); ++i) {
        const QString uri = displayName(found.refused[i]);
        lines << (uri.size() > kUriShown ? uri.left(kUriShown) + u'…' : uri);
    }
    if (found.refused.size() > kRefusedShown)
        lines << QStringLiteral("ほか%1個").arg(found.refused.size() - kRefusedShown);
    return lines.join(u'\n');
}

std::uint64_t questionKey(std::uint32_t serial, size_t index) {
    return (std::uint64_t{serial} << 32) | static_cast<std::uint32_t>(index);
}

}  // namespace

ListDrops::ListDrops(TList& window, Dialogs& dialogs, PathProbe probe)
    : QObject(&window),
      m_window(window),
      m_dialogs(dialogs),
      m_model(*window.model()),
      m_probe(std::move(probe)) {
    PopupMenu2 = new QMenu(&window);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    const auto add = [this](const char* name, const QString& caption) {
        QAction* action = PopupMenu2->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    N10 = add("N10", QStringLiteral("ここに移動"));
    N11 = add("N11", QStringLiteral("このバインダーに入れる"));
    N12 = add("N12", QStringLiteral("キャンセル"));
    showMoveMenu = [](QMenu& menu) { return menu.exec(QCursor::pos()); };
    m_promptTimer = new QTimer(this);
    m_promptTimer->setSingleShot(true);
    connect(m_promptTimer, &QTimer::timeout, this, &ListDrops::showWaitPrompt);
}

ListDrops::~ListDrops() = default;

void ListDrops::acceptDrag(QDropEvent& event) {
    if (event.possibleActions() & Qt::CopyAction)
        event.setDropAction(Qt::CopyAction);
    else if (event.possibleActions() & Qt::LinkAction)
        event.setDropAction(Qt::LinkAction);
    else if (!event.source()) {
        event.ignore();
        return;
    }
    event.accept();
}

void ListDrops::drop(const QMimeData& data, QObject* source, QPoint pos) {
    const ListTree& tree = m_model.tree();
    m_dropTarget = m_model.nodeOf(m_window.TreeView1->indexAt(pos));
    if (m_dropTarget == kNoNode) {
        const NodeId selected = m_window.selectedNode();
        if (selected != kNoNode && isItem(tree, selected)) m_dialogs.message(kAimAtBinder);
        return;
    }
    if (!source) {
        dropFromOtherProgram(data);
        return;
    }
    const QString sourceName = source->objectName();
    if (sourceName == QLatin1String("ShellTreeView1")) {
        if (isItem(tree, m_dropTarget)) {
            m_dialogs.message(kNoLevelUnderItem);
            return;
        }
        dropFolder(paneDragPaths(data));
    } else if (sourceName == QLatin1String("FileListBox1")) {
        addItems(m_dropTarget, paneDragEntries(data));
    } else if (source == m_window.TreeView1) {
        rearrange();
    }
    m_model.markModified();
}

void ListDrops::dropFolder(const std::vector<std::string>& paths) {
    // The drag carries the tree's selected folder; a drag without one adds nothing rather than a bare name.
    if (paths.empty() || paths.front().empty()) return;
    m_lastAdded = m_model.addChildren(m_dropTarget, {{paths.front(), icons::kFolder, icons::kSelectedItem}});
}

void ListDrops::addItems(NodeId target, std::vector<PaneDragEntry> entries) {
    std::vector<ListTreeModel::NewNode> nodes;
    nodes.reserve(entries.size());
    for (PaneDragEntry& entry : entries) {
        const int icon = entry.kind == PathKind::Folder ? icons::kFolder : extensionIcon(entry.path);
        nodes.push_back({std::move(entry.path), icon, icons::kSelectedItem});
    }
    const NodeId last = m_model.addChildren(target, nodes);
    if (last == kNoNode) return;
    m_lastAdded = last;
    m_model.setExpanded(target, true, false);
}

void ListDrops::dropFromOtherProgram(const QMimeData& data) {
    // Another start of this program tells what each path names: no disk to ask.
    if (std::vector<PaneDragEntry> entries = paneDragEntries(data); !entries.empty()) {
        addItems(m_dropTarget, std::move(entries));
        return;
    }
    const QByteArray uris = data.data(QStringLiteral("text/uri-list"));
    UriListPaths found =
        localPathsOfUriList(std::string_view(uris.constData(), static_cast<size_t>(uris.size())));
    if (!data.hasFormat(QStringLiteral("text/uri-list")) && data.hasText()) ++found.ignored;
    WaitingDrop drop;
    drop.message = otherProgramMessage(found);
    if (found.paths.empty()) {
        if (!drop.message.isEmpty()) m_dialogs.message(drop.message);
        return;
    }
    drop.serial = ++m_serial;
    drop.target = QPersistentModelIndex(m_model.indexOf(m_dropTarget));
    drop.kinds.assign(found.paths.size(), PathKind::Absent);
    drop.answered.assign(found.paths.size(), false);
    std::vector<std::pair<std::uint64_t, std::string>> questions;
    for (size_t i = 0; i < found.paths.size(); ++i) {
        // No copy of a text of megabytes: it names nothing.
        if (tooLongForAPath(found.paths[i])) {
            drop.answered[i] = true;
            continue;
        }
        questions.emplace_back(questionKey(drop.serial, i), found.paths[i]);
    }
    drop.unanswered = questions.size();
    drop.paths = std::move(found.paths);
    if (m_waiting.empty()) m_promptTimer->start(promptDelayMs);
    m_waiting.push_back(std::move(drop));
    if (!questions.empty()) {
        if (!m_kinds) {
            m_kinds = std::make_unique<PathKindService>(m_probe);
            // Called on a worker thread: the answers are taken on this object's thread.
            m_kinds->setNotify(
                [this] { QMetaObject::invokeMethod(this, &ListDrops::takeAnswers, Qt::QueuedConnection); });
        }
        m_kinds->ask(std::move(questions));
    }
    finishAnswered();
}

void ListDrops::takeAnswers() {
    if (!m_kinds) return;
    for (const PathKindService::Answer& answer : m_kinds->takeAnswers()) {
        const auto serial = static_cast<std::uint32_t>(answer.key >> 32);
        const auto index = static_cast<size_t>(answer.key & 0xFFFFFFFFu);
        const auto drop = std::find_if(m_waiting.begin(), m_waiting.end(),
                                       [&](const WaitingDrop& waiting) { return waiting.serial == serial; });
        if (drop == m_waiting.end() || index >= drop->paths.size() || drop->answered[index]) continue;
        drop->answered[index] = true;
        drop->kinds[index] = answer.kind;
        --drop->unanswered;
    }
    finishAnswered();
}

void ListDrops::finishAnswered() {
    // A message of an earlier drop is open: the loop below goes on when it closes.
    if (m_finishing) return;
    m_finishing = true;
    while (!m_waiting.empty() && m_waiting.front().unanswered == 0) {
        WaitingDrop drop = std::move(m_waiting.front());
        m_waiting.pop_front();
        if (m_waiting.empty()) stopWaiting();
        // The target may have gone while the disk answered (deleted, the list read again): nothing is added.
        const NodeId target = drop.target.isValid() ? m_model.nodeOf(drop.target) : kNoNode;
        if (target == kNoNode) continue;
        std::vector<PaneDragEntry> entries;
        entries.reserve(drop.paths.size());
        for (size_t i = 0; i < drop.paths.size(); ++i)
            entries.push_back({std::move(drop.paths[i]), drop.kinds[i]});
        addItems(target, std::move(entries));
        if (!drop.message.isEmpty()) m_dialogs.message(drop.message);
    }
    m_finishing = false;
}

void ListDrops::showWaitPrompt() {
    if (m_waiting.empty()) return;
    if (!m_waitPrompt) {
        m_waitPrompt = new QDialog(&m_window);
        m_waitPrompt->setObjectName(QStringLiteral("DropWaitPrompt"));
        // The user may go on working in the list meanwhile.
        m_waitPrompt->setAttribute(Qt::WA_ShowWithoutActivating);
        auto* row = new QHBoxLayout(m_waitPrompt);
        row->addWidget(new QLabel(QStringLiteral("確認しています…"), m_waitPrompt));
        auto* cancel = new QPushButton(QStringLiteral("キャンセル"), m_waitPrompt);
        row->addWidget(cancel);
        connect(cancel, &QPushButton::clicked, this, &ListDrops::cancelWaiting);
        // Escape and the frame's close button cancel as well.
        connect(m_waitPrompt, &QDialog::rejected, this, &ListDrops::cancelWaiting);
    }
    m_waitPrompt->setWindowTitle(m_window.windowTitle());
    m_waitPrompt->show();
}

void ListDrops::cancelWaiting() {
    m_waiting.clear();
    if (m_kinds) m_kinds->forgetQuestions();
    stopWaiting();
}

void ListDrops::stopWaiting() {
    m_promptTimer->stop();
    if (m_waitPrompt) m_waitPrompt->hide();
}

void ListDrops::rearrange() {
    const ListTree& tree = m_model.tree();
    const QItemSelectionModel* selection = m_window.TreeView1->selectionModel();
    std::vector<NodeId> selected;
    for (const QModelIndex& index : selection->selectedIndexes()) selected.push_back(m_model.nodeOf(index));
    if (selected.size() > 1) {
        std::vector<NodeId> inOrder;
        inOrder.reserve(selected.size());
        std::sort(selected.begin(), selected.end());
        tree.visitTreeOrder([&](NodeId node, size_t) {
            if (std::binary_search(selected.begin(), selected.end(), node)) inOrder.push_back(node);
            return inOrder.size() < selected.size();
        });
        selected = std::move(inOrder);
    }
    const bool ontoItem = isItem(tree, m_dropTarget);
    for (NodeId node : selected) {
        if (ontoItem) {
            reorderNextTo(node, m_dropTarget);
            return;
        }
        QAction* chosen = showMoveMenu(*PopupMenu2);
        if (chosen == N10)
            N10Click();
        else if (chosen == N11)
            N11Click();
    }
}

void ListDrops::reorderNextTo(NodeId node, NodeId target) {
    const ListTree& tree = m_model.tree();
    const size_t a = tree.index(node);
    const size_t b = tree.index(target);
    const bool last = b + 1 == tree.children(tree.parent(target)).size();
    // The model opens the new parent with the move.
    if (a < b && !last)
        m_model.move(node, tree.next(target), MoveMode::InsertBefore);
    else if (a > b && !last)
        m_model.move(node, target, MoveMode::InsertBefore);
    else
        m_model.move(node, target, MoveMode::AddAsLastSibling);
}

void ListDrops::N10Click() {
    const NodeId current = m_window.currentNode();
    const NodeId target = m_dropTarget;
    const ListTree& tree = m_model.tree();
    if (current == kNoNode || !tree.isValid(target) || !tree.isValid(current)) return;
    m_model.markModified();
    // A node cannot go into its own subtree: then nothing moves and its binder keeps its icon.
    if (tree.isInSubtree(target, current)) return;
    const NodeId parent = tree.parent(current);
    if (parent != kNoNode && tree.children(parent).size() == 1)
        m_model.setIcons(parent, icons::kEmptyBinder, tree.selectedIcon(parent));
    m_model.move(current, target, MoveMode::InsertBefore);
}

void ListDrops::N11Click() {
    const NodeId node = m_window.selectedNode();
    const NodeId target = m_dropTarget;
    const ListTree& tree = m_model.tree();
    if (node == kNoNode || !tree.isValid(target)) return;
    m_model.markModified();
    const NodeId parent = tree.parent(node);
    if (!m_model.move(node, target, MoveMode::AddAsLastChild)) return;
    if (tree.icon(target) == icons::kEmptyBinder)
        m_model.setIcons(target, icons::kBinder, tree.selectedIcon(target));
    if (parent != kNoNode && !tree.hasChildren(parent))
        m_model.setIcons(parent, icons::kEmptyBinder, tree.selectedIcon(parent));
}

}  // namespace tarvelin
