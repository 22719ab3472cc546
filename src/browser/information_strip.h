#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace tarvelin {

// "Last Update : yyyy/mm/dd hh:MM:ss" for a local time. File times are shown with two-second precision, as
// FAT stores them: an odd second is shown as the even second before it.
std::string lastUpdateText(const std::tm& localTime);

// The same for a file time in seconds since the epoch, in the local time zone of that moment.
std::string lastUpdateText(std::time_t fileTime);

// The last-write time of the file at `path`, read through a descriptor opened for reading, so a file the user
// may not read has no time; nullopt also when it is missing or not a regular file.
std::optional<std::time_t> readableFileTime(const std::string& path);

// What the information strip shows for the focused file: the text above, or empty when its time cannot be
// read.
std::string informationStripText(const std::string& path);

}  // namespace tarvelin
