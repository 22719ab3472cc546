#pragma once

#include <string>

#include "platform/dialogs.h"
#include "platform/shell.h"
#include "platform/system_services.h"

namespace tarvelin {

// What a window receives from outside: the program's own wiring in main(), scripted fakes in tests.
struct Services {
    Dialogs& dialogs;
    Shell& shell;
    Clock& clock;
    Beeper& beeper;
    std::string programFolder;  // ends in "/"
};

}  // namespace tarvelin
