#include "browser/folder_listing.h"

#include <algorithm>
#include <utility>

#include "browser/folder_entries.h"
#include "browser/name_case.h"

namespace tarvelin {

namespace {

struct Entry {
    std::string key;  // folded name
    std::string name;
};

}  // namespace

FolderListing listFolderFiles(const std::string& folder, const FileMask& mask) {
    return listFolderFiles(*readFolderEntries(folder), mask);
}

FolderListing listFolderFiles(const FolderEntries& read, const FileMask& mask) {
    FolderListing listing;
    listing.error = read.error;
    std::vector<Entry> entries;
    for (const FolderEntry& entry : read.entries) {
        if (entry.kind != EntryKind::File || entry.name.front() == '.') continue;  // hidden files too
        std::string key = foldCase(entry.name);
        const int count = mask.matchCount(key);
        for (int i = 1; i < count; ++i) entries.push_back({key, entry.name});
        if (count > 0) entries.push_back({std::move(key), entry.name});
    }

    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        const int byKey = a.key.compare(b.key);
        return byKey != 0 ? byKey < 0 : a.name < b.name;
    });
    listing.names.reserve(entries.size());
    for (Entry& entry : entries) listing.names.push_back(std::move(entry.name));
    return listing;
}

}  // namespace tarvelin
