#include "browser/file_pane.h"

#include <QEvent>
#include <QLabel>
#include <QSplitter>
#include <QVBoxLayout>

#include "browser/file_list_box.h"
#include "browser/file_list_model.h"
#include "browser/folder_tree.h"
#include "browser/folder_tree_model.h"
#include "browser/shell_tree_view.h"
#include "platform/display_name.h"
#include "platform/item_path.h"

namespace tarvelin {

FilePane::FilePane(const Layout& layout, DesktopPlaces places, QWidget* container, QVBoxLayout* column,
                   FileListReader::Scan scan)
    : QObject(container),
      m_folders(new FolderTreeModel(
          layout.showHidden, std::move(places), this,
          layout.readWhenShown ? FolderTree::FirstRead::WhenAsked : FolderTree::FirstRead::Now)),
      m_files(new FileListModel(this, std::move(scan))),
      m_container(container),
      m_waitingForShow(layout.readWhenShown) {
    m_splitter = new QSplitter(Qt::Vertical, container);
    m_splitter->setObjectName(layout.splitter);
    m_splitter->setHandleWidth(layout.splitterHandle);
    m_splitter->setChildrenCollapsible(false);
    m_tree = new ShellTreeView(layout.tree, *m_folders, m_splitter);
    m_list = new FileListBox(layout.list, *m_files, m_splitter);
    m_splitter->addWidget(m_tree);
    m_splitter->addWidget(m_list);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({layout.treeHeight, 10000});
    column->addWidget(m_splitter, 1);

    // The strip shows its own name until the list first changes.
    m_label = new QLabel(layout.label, container);
    m_label->setObjectName(layout.label);
    m_label->setFixedHeight(30);
    m_label->setTextFormat(Qt::PlainText);
    m_label->setAutoFillBackground(true);
    column->addWidget(m_label);

    connect(m_tree, &ShellTreeView::selectedFolderChanged, this, &FilePane::showFolderInFileList);
    connect(m_tree, &ShellTreeView::focusLost, this, &FilePane::showFolderInFileList);
    connect(m_files, &QAbstractItemModel::modelReset, this, &FilePane::updateStrip);
    connect(m_files, &FileListModel::readingFinished, this, &FilePane::updateStrip);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, &FilePane::updateStrip);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this, &FilePane::updateStrip);
    // A model reset clears the focused item without a signal, so this hears the user alone.
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                emit focusedFileChanged(current.isValid()
                                            ? m_files->list().itemPath(static_cast<size_t>(current.row()))
                                            : std::string());
            });
    m_stripText.setNotify([this] {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (std::optional<std::string> text = m_stripText.takeAnswer())
                    m_label->setText(QString::fromStdString(*text));
            },
            Qt::QueuedConnection);
    });
    if (m_waitingForShow)
        container->installEventFilter(this);
    else
        showFolderInFileList();
}

bool FilePane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_container && event->type() == QEvent::Show && m_waitingForShow) {
        m_waitingForShow = false;
        m_container->removeEventFilter(this);
        showFolderInFileList();
    }
    return QObject::eventFilter(watched, event);
}

FilePane::~FilePane() {
    // The views go before the models they show.
    delete m_splitter;
}

void FilePane::showFolderInFileList() {
    if (m_waitingForShow || !m_tree->currentIndex().isValid()) return;
    m_files->showFolder(m_tree->selectedPath());
}

void FilePane::reread() {
    m_files->reread();
}

bool FilePane::setMask(const std::string& mask) {
    return m_files->setMask(mask);
}

void FilePane::updateStrip() {
    m_stripText.cancel();
    if (!m_list->selectionModel()->hasSelection()) {
        // Not an empty folder: one that has not answered yet.
        if (m_files->beingRead())
            m_label->setText(QStringLiteral("読み込み中…"));
        else
            m_label->clear();
        return;
    }
    const FileListModel& files = *m_files;
    emit selectionShown(displayName(files.folder()));
    const QModelIndex focused = m_list->currentIndex();
    if (!focused.isValid()) {
        m_label->clear();
        return;
    }
    // The last time shown goes at once: it may be another file's.
    m_label->clear();
    m_stripText.ask(files.list().itemPath(static_cast<size_t>(focused.row())));
}

}  // namespace tarvelin
