#include "platform/path_kind.h"

#include <sys/stat.h>

#include <climits>
#include <cstring>

namespace tarvelin {

bool tooLongForAPath(std::string_view text) {
    return text.size() >= PATH_MAX;
}

PathKind pathKind(std::string_view text) {
    // The kernel refuses a path of PATH_MAX bytes or more, so a fixed buffer holds every text it could find.
    char path[PATH_MAX];
    if (tooLongForAPath(text) || text.find('\0') != std::string_view::npos) return PathKind::Absent;
    std::memcpy(path, text.data(), text.size());
    path[text.size()] = '\0';
    struct stat st;
    if (::stat(path, &st) != 0) return PathKind::Absent;
    return S_ISDIR(st.st_mode) ? PathKind::Folder : PathKind::File;
}

}  // namespace tarvelin
