#pragma once

#include <string>

class QWidget;

namespace tarvelin {

class SettingsFile;

// The main window's state, outer size and place as the settings file keeps them. Restoring keeps the window
// on the screens there are now; storing writes the outer frame, and only the state when the window is
// maximised or minimised.
void restoreMainPlacement(QWidget& window, const SettingsFile& settings);
// Writes nothing over a settings file too large to read. Throws when it cannot be written.
void storeMainPlacement(const QWidget& window, const std::string& programFolder);

}  // namespace tarvelin
