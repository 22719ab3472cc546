#include "browser/folder_listing.h"

#include <algorithm>
#include <utility>

#include "browser/folder_entries.h"
#include "browser/name_case.h"

namespace tarvelin {

FolderListing listFolderFiles(const std::string& folder, const FileMask& mask) {
    return listFolderFiles(*readFolderEntries(folder), mask);
}

FolderListing listFolderFiles(const FolderEntries& read, const FileMask& mask) {
    std::vector<std::string_view> names;  // of each listed file, once for each pattern it matches
    names.reserve(read.entries.size());
    // The folded names go before the listing is made: of a big folder, they are much of the memory.
    const std::vector<size_t> order = [&] {
        std::vector<std::string> folded;
        folded.reserve(read.entries.size());
        for (const FolderEntry& entry : read.entries) {
            if (entry.kind != EntryKind::File || entry.name.front() == '.') continue;  // hidden files too
            std::string key = foldCase(entry.name);
            const int count = mask.matchCount(key);
            for (int i = 1; i < count; ++i) folded.push_back(key);
            if (count > 0) folded.push_back(std::move(key));
            for (int i = 0; i < count; ++i) names.push_back(entry.name);
        }
        return orderWithoutCase(folded, names);
    }();
    FolderListing listing;
    listing.error = read.error;
    listing.names.reserve(order.size());
    for (size_t item : order) listing.names.emplace_back(names[item]);
    return listing;
}

}  // namespace tarvelin
