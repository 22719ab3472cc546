#include "browser/file_list.h"

#include <algorithm>
#include <iterator>

#include "browser/file_mask.h"
#include "browser/folder_listing.h"
#include "browser/name_case.h"
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
    startReading(m_folder, m_mask);
    if (m_folder.empty()) return;
    std::optional<FolderListing> startup = takeStartupListing(m_folder, m_mask);
    FolderListing listing = startup ? std::move(*startup) : listFolderFiles(m_folder, FileMask(m_mask));
    m_items = std::move(listing.names);
    finishReading(listing.error);
}

void FileList::startReading(std::string_view folder, std::string_view mask) {
    m_folder = normaliseFolder(folder);
    m_mask = mask;
    m_items.clear();
    m_readError = 0;
    m_beingRead = !m_folder.empty();
}

void FileList::finishReading(int error) {
    m_readError = error;
    m_beingRead = false;
}

std::vector<FileList::Run> FileList::insertionRuns(const std::vector<std::string>& batch) const {
    std::vector<Run> runs;
    auto from = m_items.begin();
    for (size_t i = 0; i < batch.size(); ++i) {
        from = std::upper_bound(from, m_items.end(), batch[i], lessWithoutCase);
        const auto at = static_cast<size_t>(from - m_items.begin());
        if (!runs.empty() && runs.back().at == at)
            ++runs.back().count;
        else
            runs.push_back({at, i, 1});
    }
    return runs;
}

void FileList::insert(const Run& run, std::vector<std::string>& batch) {
    const auto first = batch.begin() + static_cast<std::ptrdiff_t>(run.first);
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(run.at), std::make_move_iterator(first),
                   std::make_move_iterator(first + static_cast<std::ptrdiff_t>(run.count)));
}

void FileList::merge(std::vector<std::string>&& batch) {
    m_items = mergeWithoutCase(std::move(m_items), std::move(batch));
}

std::string FileList::itemPath(size_t index) const {
    return tarvelin::itemPath(m_folder, name(index));
}

std::string FileList::filePath(std::ptrdiff_t focused, bool focusedSelected) const {
    if (!focusedSelected || focused < 0 || static_cast<size_t>(focused) >= m_items.size()) return {};
    return itemPath(static_cast<size_t>(focused));
}

}  // namespace tarvelin
