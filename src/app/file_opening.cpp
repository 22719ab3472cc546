#include "app/file_opening.h"

#include "app/list_windows.h"
#include "app/operation_log.h"
#include "browser/file_panes.h"
#include "lists/node_kinds.h"
#include "platform/display_name.h"
#include "platform/item_path.h"
#include "platform/shell.h"

namespace tarvelin {

FileOpening::FileOpening(Services services, OperationLog& log, ListWindows& lists)
    : m_services(std::move(services)), m_log(log), m_lists(lists) {}

void FileOpening::open(const FocusedFile& file) {
    m_services.shell.openPath(file.itemPath);
    // The file path, not the item path: empty when the focused item is not selected, and then nothing more
    // opens.
    ListOpening how = ListOpening::fromFileList(file.filePath, displayName(file.name));
    if (extensionOf(file.filePath) != ".kxd") {
        m_log.appendLine(how.logLine);
        return;
    }
    m_lists.openListFile(file.itemPath, how);
}

}  // namespace tarvelin
