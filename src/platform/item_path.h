#pragma once

#include <string>
#include <string_view>

namespace tarvelin {

// Paths are bytes with "/" between their parts. These helpers only look at the text; none touches the disk.

// A file list's folder form: no trailing "/", except the root, which stays "/".
std::string normaliseFolder(std::string_view folder);

// The folder and a name joined by one "/"; no second one after a folder that already ends in "/" (the root).
std::string itemPath(std::string_view folder, std::string_view name);

// What follows the last "/"; the whole text when there is none.
std::string_view fileNamePart(std::string_view path);

// What comes up to the last "/", the "/" included; empty when there is none.
std::string_view folderPart(std::string_view path);

// The file name part from its last "." on, the "." included; empty when the name has no ".".
std::string_view extensionOf(std::string_view path);

// The folder that holds the item: "/" for an item in the root, "." for a bare name.
std::string parentFolder(std::string_view path);

}  // namespace tarvelin
