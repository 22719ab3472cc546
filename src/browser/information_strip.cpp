#include "browser/information_strip.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace tarvelin {

std::string lastUpdateText(const std::tm& localTime) {
    char text[64];
    std::snprintf(text, sizeof text, "Last Update : %04d/%02d/%02d %02d:%02d:%02d", localTime.tm_year + 1900,
                  localTime.tm_mon + 1, localTime.tm_mday, localTime.tm_hour, localTime.tm_min,
                  localTime.tm_sec & ~1);
    return text;
}

std::string lastUpdateText(std::time_t fileTime) {
    std::tm local{};
    if (!::localtime_r(&fileTime, &local)) return {};
    return lastUpdateText(local);
}

std::optional<std::time_t> readableFileTime(const std::string& path) {
    // Non-blocking: a name that has meanwhile become a FIFO must not hang the window on open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return std::nullopt;
    struct stat st;
    const bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    if (!ok) return std::nullopt;
    return st.st_mtim.tv_sec;
}

std::string informationStripText(const std::string& path) {
    const std::optional<std::time_t> time = readableFileTime(path);
    return time ? lastUpdateText(*time) : std::string();
}

}  // namespace tarvelin
