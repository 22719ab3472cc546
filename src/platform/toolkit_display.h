#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tarvelin {

// Reads one environment variable; null when it is not set.
using EnvironmentLookup = std::function<const char*(const char*)>;

// The X display the toolkit is going to connect to, judged from the program's arguments (argv without the
// program name) and environment before the toolkit has started: empty when it will run on another platform
// (Wayland, offscreen) or when that cannot be told for sure.
std::string toolkitX11Display(const std::vector<std::string>& args, const EnvironmentLookup& environment);

}  // namespace tarvelin
