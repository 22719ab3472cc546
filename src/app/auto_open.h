#pragma once

#include <string>

namespace tarvelin {

class Dialogs;
class ListWindows;

// At the main window's first showing: reads "oplst.lst" of the program folder and, when the settings' switch
// is on, opens every listed document in a window of its own; missing files are reported together, then the
// tabs are named and the first list comes to the front. A document that cannot be read is reported and the
// next one is opened all the same.
void runAutoOpen(const std::string& programFolder, ListWindows& lists, Dialogs& dialogs);

}  // namespace tarvelin
