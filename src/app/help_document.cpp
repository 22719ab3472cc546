#include "app/help_document.h"

#include <sys/stat.h>

namespace tarvelin {
namespace {

// "/usr/bin/" gives "/usr/"; a folder without a parent gives an empty text.
std::string parentFolder(const std::string& folder) {
    const size_t end = folder.size() > 1 ? folder.rfind('/', folder.size() - 2) : std::string::npos;
    return end == std::string::npos ? std::string() : folder.substr(0, end + 1);
}

}  // namespace

std::string findHelpDocument(const std::string& programFolder, const std::string& executableFolder) {
    const std::string prefix = parentFolder(executableFolder);
    for (const std::string& folder :
         {programFolder, executableFolder, prefix.empty() ? prefix : prefix + "share/tarvelin2/"}) {
        const std::string path = folder + "TARVELIN2.html";
        struct stat st;
        if (!folder.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return path;
    }
    return {};
}

}  // namespace tarvelin
