#pragma once

#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvelin {

class Dialogs;
class FileListBox;
class FileOperations;
class ShellTreeView;

// The file commands of the panes: delete, rename and the clipboard copy on the current file list, a new
// folder in a tree, and copying files from one list to the other. Every command that runs a file job re-reads
// the affected list afterwards (through `reread`, which also updates the pane's strip), whatever the job's
// outcome; a cancel or a failure leaves the list showing what is really on disk.
class FileCommands {
public:
    using Reread = std::function<void()>;

    FileCommands(Dialogs& dialogs, FileOperations& operations)
        : m_dialogs(dialogs), m_operations(operations) {}

    // Delete1: the selected items, in list order, to the trash.
    void deleteSelected(FileListBox* list, const Reread& reread);
    // N11: the focused item gets the typed name followed by its old extension.
    void renameFocused(FileListBox* list, const Reread& reread);
    // LZH1: every name of the list, each followed by CR LF, as the clipboard's text.
    static void copyNamesToClipboard(const FileListBox* list);
    // ToolButton3: asks for a name and creates it (with any missing folders on its path) in the tree's
    // selected folder; the node is then refreshed and expanded. A failure shows nothing: the tree shows what
    // is there.
    void newFolder(ShellTreeView& tree);
    // A drop of `from`'s selected items on `to`: always a copy into `to`'s folder.
    void copyAcross(const FileListBox& from, const FileListBox& to, const Reread& rereadTarget);

private:
    Dialogs& m_dialogs;
    FileOperations& m_operations;
};

// The extension an item keeps on rename: from the last "." on, or empty.
std::string_view keptExtension(std::string_view name);
// The clipboard text of a list: each name and CR LF.
std::string clipboardNames(const std::vector<std::string>& names);
// The three lines of the new-folder prompt, separated by a CR alone.
QString newFolderPrompt(const std::string& folder);
// The paths of the rows of a list's selection, in list order.
std::vector<std::string> selectedPaths(const FileListBox& list);

}  // namespace tarvelin
