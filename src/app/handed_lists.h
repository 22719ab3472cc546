#pragma once

#include <string>
#include <vector>

namespace tarvelin {

class TKX2;

// The lists named on a command line, this program's own or a later start's: each opens in order as the
// open-list command opens the file the user chose; then the main window comes to the front.
void openHandedLists(TKX2& mainWindow, const std::vector<std::string>& files);

}  // namespace tarvelin
