#pragma once

#include <string>

namespace tarvelin {

struct ProgramFolderInputs {
    std::string overrideDir;     // TARVELIN2_DIR, empty when unset
    std::string executablePath;  // full path of the running program
    std::string xdgConfigHome;   // XDG_CONFIG_HOME, empty when unset
    std::string home;            // HOME
};

// Where the program keeps "KX2cfg.ini", "oplst.lst" and its help: TARVELIN2_DIR when set; else, for an
// installed copy, $XDG_CONFIG_HOME/Tarvelin2/ (~/.config by default); else the executable's folder when it is
// writable (a portable or build-tree copy); else the XDG folder. Always ends in "/".
std::string programFolder(const ProgramFolderInputs& in);

// An installed copy lies in <prefix>/bin beside its data folder <prefix>/share/tarvelin2/, where the install
// puts the help. A build tree or a portable copy has no such sibling, whatever the user's rights.
bool isInstalledCopy(const std::string& executablePath);

// True when the program folder is not the user's own configuration folder (TARVELIN2_DIR or a writable
// executable folder): what the program keeps must then stay in that folder.
bool isPortableProgramFolder(const ProgramFolderInputs& in);

// The inputs of this process: its environment and executable.
ProgramFolderInputs currentProgramFolderInputs();

// The program folder of this process; creates the XDG folder when that is the one chosen.
std::string programFolder();

// The folder part of a path up to and including the last "/", with a "/" appended when missing.
std::string folderOf(const std::string& path);
std::string withTrailingSeparator(std::string folder);

}  // namespace tarvelin
