#pragma once

#include <QString>
#include <exception>
#include <utility>

#include "platform/dialogs.h"
#include "platform/display_name.h"

namespace tarvelin {

// The general error handler: an error ends the user action where it arose, what the action already changed
// stays changed, and the error's text is shown in a message box. Returns false when the action ended in an
// error.
template <class Action>
bool runAction(Dialogs& dialogs, Action&& action) {
    try {
        std::forward<Action>(action)();
        return true;
    } catch (const std::exception& e) {
        dialogs.error(displayName(e.what()));
        return false;
    }
}

}  // namespace tarvelin
