#pragma once

#include <string>

namespace tarvelin {

// Where the help document "TARVELIN2.html" lies: the program folder, else beside the executable (a build tree
// or portable copy run with TARVELIN2_DIR pointing elsewhere), else the installed data folder
// (<prefix>/share/tarvelin2/ beside <prefix>/bin/). Empty when none holds it. Folders end in "/".
std::string findHelpDocument(const std::string& programFolder, const std::string& executableFolder);

}  // namespace tarvelin
