#include "browser/desktop_places.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "platform/file_io.h"
#include "platform/item_path.h"

namespace tarvelin {

namespace {

std::string unescapeMountField(std::string_view field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
            if (isOctal(field[i + 1]) && isOctal(field[i + 2]) && isOctal(field[i + 3])) {
                out += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                         (field[i + 3] - '0'));
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

bool isVolumeMount(std::string_view mountPoint) {
    for (std::string_view prefix : {"/media/", "/run/media/", "/mnt/"})
        if (mountPoint.starts_with(prefix) && mountPoint.size() > prefix.size()) return true;
    return false;
}

// Both files are small; a FIFO or a huge file in their place reads as empty.
std::string readWholeFile(const std::string& path) {
    return readFileBytes(path, size_t{4} << 20).bytes;
}

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return normaliseFolder(home);
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return normaliseFolder(pw->pw_dir);
    return "/";
}

// XDG_DESKTOP_DIR="$HOME/Desktop" in user-dirs.dirs; the file holds only that form or an absolute path.
std::string desktopFolder(const std::string& home) {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const std::string config = configHome && *configHome ? configHome : home + "/.config";
    std::istringstream lines(readWholeFile(config + "/user-dirs.dirs"));
    for (std::string line; std::getline(lines, line);) {
        constexpr std::string_view key = "XDG_DESKTOP_DIR=\"";
        if (!line.starts_with(key) || line.size() < key.size() + 1 || line.back() != '"') continue;
        std::string value = line.substr(key.size(), line.size() - key.size() - 1);
        if (value.starts_with("$HOME")) value = home + value.substr(5);
        if (value.starts_with("/")) return normaliseFolder(value);
    }
    return home + "/Desktop";
}

}  // namespace

std::vector<std::string> mountedVolumes(std::string_view mountsText) {
    std::vector<std::string> volumes;
    std::istringstream lines{std::string(mountsText)};
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string device, mountPoint;
        if (!(fields >> device >> mountPoint)) continue;
        std::string decoded = unescapeMountField(mountPoint);
        if (!isVolumeMount(decoded)) continue;
        if (std::find(volumes.begin(), volumes.end(), decoded) == volumes.end()) volumes.push_back(decoded);
    }
    return volumes;
}

DesktopPlaces currentDesktopPlaces() {
    DesktopPlaces places;
    places.home = homeFolder();
    places.desktop = desktopFolder(places.home);
    places.volumes = mountedVolumes(readWholeFile("/proc/self/mounts"));
    return places;
}

std::string currentDesktopFolder() {
    return desktopFolder(homeFolder());
}

}  // namespace tarvelin
