#include "platform/program_folder.h"
#include "platform/item_path.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace tarvelin {
namespace {

std::string env(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string xdgFolder(const ProgramFolderInputs& in) {
    const std::string config =
        !in.xdgConfigHome.empty() ? in.xdgConfigHome : withTrailingSeparator(in.home) + ".config";
    return withTrailingSeparator(config) + "Tarvelin2/";
}

}  // namespace

std::string withTrailingSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::string folderOf(const std::string& path) {
    return withTrailingSeparator(std::string(folderPart(path)));
}

bool isInstalledCopy(const std::string& executablePath) {
    const std::filesystem::path folder = std::filesystem::path(executablePath).parent_path();
    std::error_code ec;
    return folder.filename() == "bin" &&
           std::filesystem::is_directory(folder.parent_path() / "share" / "tarvelin2", ec);
}

std::string programFolder(const ProgramFolderInputs& in) {
    if (!in.overrideDir.empty()) return withTrailingSeparator(in.overrideDir);
    // Run as root, every folder is writable: an installed /usr/bin/tarvelin2 must still not write beside
    // itself.
    if (!in.executablePath.empty() && !isInstalledCopy(in.executablePath)) {
        const std::string exeFolder = folderOf(in.executablePath);
        if (::access(exeFolder.c_str(), W_OK) == 0) return exeFolder;
    }
    return xdgFolder(in);
}

bool isPortableProgramFolder(const ProgramFolderInputs& in) {
    return programFolder(in) != xdgFolder(in);
}

ProgramFolderInputs currentProgramFolderInputs() {
    ProgramFolderInputs in;
    in.overrideDir = env("TARVELIN2_DIR");
    in.xdgConfigHome = env("XDG_CONFIG_HOME");
    in.home = env("HOME");
    std::error_code ec;
    in.executablePath = std::filesystem::read_symlink("/proc/self/exe", ec).string();
    return in;
}

std::string programFolder() {
    std::string folder = programFolder(currentProgramFolderInputs());
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);  // the first settings write needs it; reads do without
    return folder;
}

}  // namespace tarvelin
