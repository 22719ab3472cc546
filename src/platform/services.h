#pragma once

#include <string>

#include "platform/dialogs.h"
#include "platform/path_kind.h"
#include "platform/shell.h"
#include "platform/system_services.h"

namespace tarvelin {

class FileOperations;

// What a window receives from outside: the program's own wiring in main(), scripted fakes in tests.
struct Services {
    Dialogs& dialogs;
    Shell& shell;
    Clock& clock;
    Beeper& beeper;
    std::string programFolder;  // ends in "/"
    // File jobs; nullptr lets the main window run them itself with the real dialogs.
    FileOperations* fileOperations = nullptr;
    // What item texts name on disk; list windows ask it on worker threads.
    PathProbe pathProbe = pathKind;
};

}  // namespace tarvelin
