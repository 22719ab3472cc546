#pragma once

#include <string>
#include <vector>

class QApplication;

namespace tarvelin {

class FontConfigPreload;

// The start sequence: application title, fonts and translations, the services, the main window; then the
// event loop until the main window has closed.
// listFiles: the lists named on the command line, opened after the start; when a program already runs on the
// same program folder, they are handed to it instead and this one ends at once.
// fontConfig: given the fonts the windows use, to match them on its thread; finished before this returns.
int runProgram(QApplication& app, const std::vector<std::string>& listFiles, FontConfigPreload& fontConfig);

}  // namespace tarvelin
