#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvelin {

// What stands at the top of the folder tree in place of the shell's desktop.
struct DesktopPlaces {
    std::string desktop;               // the XDG desktop folder: the desktop's own files
    std::string home;                  // the user's home folder
    std::vector<std::string> volumes;  // mount points of removable and mounted volumes
};

// Mount points under /media, /run/media and /mnt from the text of /proc/self/mounts (octal escapes such as
// "\040" decoded), in the order mounted, each once.
std::vector<std::string> mountedVolumes(std::string_view mountsText);

// The places of this session: XDG_DESKTOP_DIR from user-dirs.dirs (default ~/Desktop), HOME and the mounts.
DesktopPlaces currentDesktopPlaces();
// Its desktop folder alone, the mounts not read.
std::string currentDesktopFolder();

}  // namespace tarvelin
