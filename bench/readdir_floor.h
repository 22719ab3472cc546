#pragma once

#include <dirent.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tarvelin::bench {

// The floor of listing a folder: a bare readdir keeping the entries of one type (DT_REG, DT_DIR) by their
// type field, names folded to lower case and sorted. Folders skip "." and "..".
inline std::vector<std::string> readdirSorted(const std::string& folder, unsigned char type) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_type != type) continue;
        std::string name(entry->d_name);
        if (name == "." || name == "..") continue;
        for (char& c : name)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 0x20);
        names.push_back(std::move(name));
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace tarvelin::bench
