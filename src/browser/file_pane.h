#pragma once

#include <QObject>
#include <QString>

#include "browser/desktop_places.h"
#include "browser/file_list_reader.h"
#include "browser/strip_text_reader.h"

class QLabel;
class QSplitter;
class QVBoxLayout;
class QWidget;

namespace tarvelin {

class FileListBox;
class FileListModel;
class FolderTreeModel;
class ShellTreeView;

// One browsing pane: a folder tree over a file list, split by a splitter, with the information strip under
// them. The pane owns both models and hands them to the views; the tree drives the list, the list's changes
// update the strip.
class FilePane final : public QObject {
    Q_OBJECT
public:
    struct Layout {
        QString tree, splitter, list, label;  // object names
        int treeHeight;                       // at design
        int splitterHandle;
        bool showHidden;  // hidden folders in the tree
        // The pane starts hidden: its folders are read when it is first shown, not at start.
        bool readWhenShown = false;
    };

    // Adds the splitter and the strip to `column`, whose widget is `container`. The list reads its folders
    // through `scan`, off the window's thread.
    FilePane(const Layout& layout, DesktopPlaces places, QWidget* container, QVBoxLayout* column,
             FileListReader::Scan scan = scanFolder);
    ~FilePane() override;

    ShellTreeView* tree() const { return m_tree; }
    QSplitter* splitter() const { return m_splitter; }
    FileListBox* list() const { return m_list; }
    QLabel* label() const { return m_label; }
    FolderTreeModel& folders() const { return *m_folders; }
    FileListModel& files() const { return *m_files; }

    // The list shows the folder selected in the tree; nothing is re-read when it already does.
    void showFolderInFileList();
    // Lists the folder again with the current mask, clearing the selection; the strip follows.
    void reread();
    // True when the list was re-read.
    bool setMask(const std::string& mask);
    // The strip waits for the focused file's time.
    bool stripWaiting() const { return m_stripText.waiting(); }

signals:
    // The strip was updated while items of the list are selected (the left pane reports it on the status
    // line).
    void selectionShown(const QString& folder);
    // The user moved the list's focused item (mouse or keys); the path is empty when no item is focused. A
    // re-read that clears the list is not reported.
    void focusedFileChanged(const std::string& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateStrip();

    FolderTreeModel* m_folders;
    FileListModel* m_files;
    ShellTreeView* m_tree;
    QSplitter* m_splitter;
    FileListBox* m_list;
    QLabel* m_label;
    QWidget* m_container;
    StripTextReader m_stripText;
    bool m_waitingForShow;
};

}  // namespace tarvelin
