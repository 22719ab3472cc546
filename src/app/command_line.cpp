#include "app/command_line.h"

#include <filesystem>

namespace tarvelin {
namespace {

std::string absolute(const std::string& name, const std::string& currentFolder) {
    if (!name.empty() && name.front() == '/') return std::filesystem::path(name).lexically_normal().string();
    return (std::filesystem::path(currentFolder) / name).lexically_normal().string();
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args, const std::string& currentFolder) {
    CommandLine result;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            return {CommandLine::Action::Help, {}, {}};
        } else if (!optionsEnded && arg == "--version") {
            return {CommandLine::Action::Version, {}, {}};
        } else if (!optionsEnded && arg.size() > 1 && arg.front() == '-') {
            if (result.action != CommandLine::Action::Error)
                result = {CommandLine::Action::Error,
                          {},
                          "tarvelin2: unknown option '" + arg + "'\nTry 'tarvelin2 --help'.\n"};
        } else if (!arg.empty() && result.action == CommandLine::Action::Run) {
            result.files.push_back(absolute(arg, currentFolder));
        }
    }
    return result;
}

std::string versionText() {
    return std::string("Tarvelin2 ") + TARVELIN_VERSION + "\n";
}

std::string helpText() {
    return "Usage: tarvelin2 [LIST.kxd]...\n"
           "Tarvelin2 organises files in lists. It opens each list named in a list window of its main\n"
           "window; when Tarvelin2 is already running with the same settings folder, that program opens "
           "them.\n"
           "\n"
           "  -h, --help   show this text and exit\n"
           "  --version    show the version and exit\n";
}

}  // namespace tarvelin
