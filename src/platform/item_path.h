#pragma once

#include <string>
#include <string_view>

namespace tarvelin {

// A file list's folder form: no trailing "/", except the root, which stays "/".
std::string normaliseFolder(std::string_view folder);

// The folder and a name joined by one "/"; no second one after a folder that already ends in "/" (the root).
std::string itemPath(std::string_view folder, std::string_view name);

}  // namespace tarvelin
