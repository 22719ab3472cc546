#pragma once

class QApplication;

namespace tarvelin {

// The start sequence: application title, fonts and translations, the services, the main window; then the
// event loop until the main window has closed.
int runProgram(QApplication& app);

}  // namespace tarvelin
