#pragma once

#include <memory>
#include <string>
#include <vector>

class QApplication;

namespace tarvelin {

class X11SplashWindow;

// The start sequence: application title, fonts and translations, the services, the main window; then the
// event loop until the main window has closed.
// listFiles: the lists named on the command line, opened after the start; when a program already runs on the
// same program folder, they are handed to it instead and this one ends at once, its splash never shown.
// preparedSplash: from prepareX11Splash, or null.
int runProgram(QApplication& app, const std::vector<std::string>& listFiles,
               std::unique_ptr<X11SplashWindow> preparedSplash);

}  // namespace tarvelin
