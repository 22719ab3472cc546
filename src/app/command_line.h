#pragma once

#include <string>
#include <vector>

namespace tarvelin {

// What the program was asked to do on its command line. The list files are absolute paths, kept as the
// bytes they were given (also names that are not UTF-8), in the order given.
struct CommandLine {
    enum class Action { Run, Version, Help, Error };
    Action action = Action::Run;
    std::vector<std::string> files;
    std::string error;  // for Error: the message, ending in a line break
};

// args excludes the program name; relative names are taken from currentFolder. "--help"/"-h" and "--version"
// win at once; "--" makes every later argument a file; any other argument beginning with "-" is an error.
CommandLine parseCommandLine(const std::vector<std::string>& args, const std::string& currentFolder);

std::string versionText();  // "Tarvelin2 <version>\n"
std::string helpText();

}  // namespace tarvelin
