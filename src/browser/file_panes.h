#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <string>

class QMenu;
class QVBoxLayout;
class QWidget;

namespace tarvelin {

class Dialogs;
class FileCommands;
class FileListBox;
class FileListMenu;
class FileOperations;
class FilePane;
class FolderDrops;
class SettingsFile;

// The file a double click or Enter in a file list opens.
struct FocusedFile {
    std::string itemPath;  // the list's folder joined with the focused item's name
    std::string filePath;  // the item path when the focused item is selected, else empty
    std::string name;      // as listed
};

// The main window's two browsing panes: the left one under the list tools, the right one covering the list
// windows and made when it is first needed, as nothing of it shows at start. Owns the current file list, the
// file-type filter, the tree-root commands, and the state of the two-pane mode (file operation mode) and of
// folder drags between the panes.
class FilePanes final : public QObject {
    Q_OBJECT
public:
    // The left pane is added to `leftColumn` (of `leftContainer`), the right one fills `rightContainer`; the
    // pop-up menus belong to `window`.
    // File jobs go through `operations`.
    FilePanes(Dialogs& dialogs, FileOperations& operations, QWidget* leftContainer, QVBoxLayout* leftColumn,
              QWidget* rightContainer, QWidget* window);
    ~FilePanes() override;

    FilePane& left() const { return *m_left; }
    // Made at the first call, with the colours and the mask the left pane has then.
    FilePane& right();
    bool rightMade() const { return m_right != nullptr; }
    // The file list that last got the input focus or a right-button press; none at start.
    FileListBox* currentFileList() const { return m_currentFileList; }
    bool fileOperationMode() const { return m_fileOperationMode; }
    // The main window's two-pane layout reports each switch here. When the right pane goes, its list stops
    // being the current one: no command may act on files the user no longer sees.
    void setFileOperationMode(bool on);
    // The lists' pop-up menu, made when first needed.
    FileListMenu& fileListMenu();
    FolderDrops& folderDrops() const { return *m_folderDrops; }

    // A folder path or "rfDesktop"; the left tree shows it now when it is an existing folder.
    void setStartupTreeRoot(std::string root);
    const std::string& startupTreeRoot() const { return m_startupTreeRoot; }
    // Each colour goes to the left control, then at once to its twin in the right pane (or when it is made).
    void applyColours(const SettingsFile& settings);

    void ToolButton8Click();  // left tree root := start-up tree root
    void ToolButton1Click();  // tree root back to the desktop
    void N21Click();
    void N22Click();
    void ToolButton9Click();  // refresh both trees
    void ToolButton2Click();  // the filter menu at the pointer
    void ApplyFilter(const QString& mask, int icon);
    void FileListBox1DblClick();  // double click or Enter in either file list
    // An item's folder in a pane: the list lists it, the tree has it as its only top node, captioned with the
    // folder's full path.
    void showItemFolder(const std::string& folder, bool rightPane);
    void Delete1Click();      // the current list's selection to the trash
    void N11Click();          // rename the current list's focused file
    void LZH1Click();         // the current list's names to the clipboard
    void ToolButton3Click();  // a new folder in the left tree's selected folder

signals:
    void statusLineChanged(const QString& text);
    // The filter button shows this image list picture now.
    void filterIconChanged(int icon);
    // The current file list's focused file is to be opened.
    void fileOpenRequested(const FocusedFile& file);

private:
    struct PaneColours {
        QColor treeBack, treeText, listBack, listText, stripBack, stripText;
    };
    static void paint(FilePane& pane, const PaneColours& colours);
    // The pane's drags, drops, focus, pop-up menu and double clicks.
    void connectPane(FilePane& pane);
    FilePane& paneOf(FileListBox* list) const;
    // A drop on `target` from the list named `source`: copies from the other pane's list only.
    void filesDropped(FileListBox* target, const QString& source);

    std::unique_ptr<FileCommands> m_commands;
    FolderDrops* m_folderDrops;
    FilePane* m_left;
    FilePane* m_right = nullptr;
    QWidget* m_rightContainer;
    std::optional<PaneColours> m_colours;
    Dialogs& m_dialogs;
    QWidget* m_window;
    FileListMenu* PopupMenu1 = nullptr;
    QMenu* PopupMenu3;
    FileListBox* m_currentFileList = nullptr;
    std::string m_startupTreeRoot;
    bool m_fileOperationMode = false;
};

}  // namespace tarvelin
