#include "browser/file_commands.h"

#include <QClipboard>
#include <QGuiApplication>

#include "browser/file_list_box.h"
#include "browser/file_list_model.h"
#include "browser/file_operation_dialogs.h"
#include "browser/folder_tree_model.h"
#include "browser/shell_tree_view.h"
#include "platform/dialogs.h"
#include "platform/display_name.h"
#include "platform/file_operations.h"
#include "platform/item_path.h"

namespace tarvelin {

std::string_view keptExtension(std::string_view name) {
    return extensionOf(name);
}

std::string clipboardNames(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& name : names) {
        text += name;
        text += "\r\n";
    }
    return text;
}

QString newFolderPrompt(const std::string& folder) {
    return displayName(folder) + QStringLiteral("\rにフォルダを作成します。\rフォルダ名を記入してください");
}

std::vector<std::string> selectedPaths(const FileListBox& list) {
    std::vector<std::string> paths;
    for (const int row : list.selectedRowsInOrder()) paths.push_back(list.files().list().itemPath(row));
    return paths;
}

void FileCommands::deleteSelected(FileListBox* list, const Reread& reread) {
    if (!list) return;  // no file list has been current yet
    const std::vector<std::string> sources = selectedPaths(*list);
    if (!sources.empty()) m_operations.run({FileOperation::Delete, sources, {}});
    reread();
}

void FileCommands::renameFocused(FileListBox* list, const Reread& reread) {
    if (!list) return;
    const QModelIndex focused = list->currentIndex();
    if (!focused.isValid()) return;
    // Copies: the list may be read again while the question is open.
    const FileList& files = list->files().list();
    const std::string oldName = files.name(static_cast<size_t>(focused.row()));
    const std::string oldPath = files.itemPath(static_cast<size_t>(focused.row()));
    const std::string folder = files.folder();
    const auto typed =
        m_dialogs.inputLine(QStringLiteral("ファイル名変更"),
                            QStringLiteral("変更後のファイル名を記入してください（拡張子不要）"));
    if (!typed) return;
    const std::string newName = typed->toStdString() + std::string(keptExtension(oldName));
    m_operations.run({FileOperation::Rename, {oldPath}, itemPath(folder, newName)});
    reread();
}

void FileCommands::copyNamesToClipboard(const FileListBox* list) {
    if (!list) return;
    const std::string text = clipboardNames(list->files().list().items());
    QGuiApplication::clipboard()->setText(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void FileCommands::newFolder(ShellTreeView& tree) {
    // Persistent: the tree may change while the question is open or the job runs.
    const QPersistentModelIndex node = tree.currentIndex();
    const std::string folder = tree.selectedPath();
    if (!node.isValid() || folder.empty()) return;
    const auto typed = m_dialogs.inputLine(QStringLiteral("新規フォルダ作成"), newFolderPrompt(folder));
    if (!typed) return;
    // Through a job: a volume that hangs must not hold the window.
    m_operations.run({FileOperation::MakeFolder, {}, itemPath(folder, typed->toStdString())});
    if (!node.isValid()) return;
    tree.refreshNode(node);
    tree.expand(node);
}

void FileCommands::copyAcross(const FileListBox& from, const FileListBox& to, const Reread& rereadTarget) {
    const std::vector<std::string> sources = selectedPaths(from);
    const std::string& folder = to.files().folder();
    if (!sources.empty() && !folder.empty()) m_operations.run({FileOperation::Copy, sources, folder});
    rereadTarget();
}

}  // namespace tarvelin
