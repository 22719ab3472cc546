#pragma once

#include <string>
#include <vector>

#include "platform/toolkit_display.h"

namespace tarvelin {

// The libraries the toolkit loads as it starts on X11 (its platform plugin from `pluginFolder`, its input
// context and cursor library), for the program's arguments (argv without the program name) and environment:
// none when the toolkit will not run on X11 for sure, or is told to look for its plugins or input method
// elsewhere.
std::vector<std::string> x11ToolkitLibraries(const std::vector<std::string>& args,
                                             const EnvironmentLookup& environment,
                                             const std::string& pluginFolder);

// Loads the libraries, to stay loaded; one that cannot be loaded is left to the toolkit, which reports it.
// Call before the process starts its first thread. Loading changes the process's memory map, and each page
// it write-protects or copies must then be flushed from every processor running another of the process's
// threads: some hundred interrupts, which on a virtual machine add a millisecond or two to the start. The
// toolkit later finds the libraries loaded.
void preloadLibraries(const std::vector<std::string>& files);

}  // namespace tarvelin
