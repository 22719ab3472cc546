#include "browser/file_list.h"

#include "browser/file_mask.h"
#include "browser/folder_listing.h"
#include "browser/startup_folder.h"
#include "platform/item_path.h"

namespace tarvelin {

bool FileList::showFolder(std::string_view folder) {
    std::string normalised = normaliseFolder(folder);
    if (normalised == m_folder) return false;
    m_folder = std::move(normalised);
    reread();
    return true;
}

bool FileList::setMask(std::string_view mask) {
    if (mask == m_mask) return false;
    m_mask = mask;
    reread();
    return true;
}

void FileList::reread() {
    if (m_folder.empty()) {
        m_items.clear();
        m_readError = 0;
        return;
    }
    std::optional<FolderListing> startup = takeStartupListing(m_folder, m_mask);
    FolderListing listing = startup ? std::move(*startup) : listFolderFiles(m_folder, FileMask(m_mask));
    m_items = std::move(listing.names);
    m_readError = listing.error;
}

std::string FileList::itemPath(size_t index) const {
    return tarvelin::itemPath(m_folder, name(index));
}

std::string FileList::filePath(std::ptrdiff_t focused, bool focusedSelected) const {
    if (!focusedSelected || focused < 0 || static_cast<size_t>(focused) >= m_items.size()) return {};
    return itemPath(static_cast<size_t>(focused));
}

}  // namespace tarvelin
