#pragma once

#include <string>

#include "platform/colour_value.h"
#include "settings/settings_file.h"

namespace tarvelin {

// What the settings dialog reads from the main window when it is shown and asks of it after OK.
class SettingsHost {
public:
    virtual ~SettingsHost() = default;

    // The colour a main-window control is painted with now; every colour key but vtBack and vtText.
    virtual ColourValue currentColour(ColourKey key) const = 0;
    virtual bool binderCollapse() const = 0;

    // The left folder tree's root: a folder path, or "rfDesktop" for the desktop. The start-up root the
    // main window keeps is not changed.
    virtual void setLeftTreeRoot(const std::string& root) = 0;
    // Both read back what the dialog has just written to the settings file.
    virtual void ApplyColourSettings() = 0;
    virtual void LoadActionSettings() = 0;
};

}  // namespace tarvelin
