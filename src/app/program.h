#pragma once

#include <string>
#include <vector>

class QApplication;

namespace tarvelin {

// The start sequence: application title, fonts and translations, the services, the main window; then the
// event loop until the main window has closed.
// listFiles: the lists named on the command line, opened after the start; when a program already runs on the
// same program folder, they are handed to it instead and this one ends at once.
int runProgram(QApplication& app, const std::vector<std::string>& listFiles);

}  // namespace tarvelin
