#include "platform/toolkit_display.h"

#include <string_view>

namespace tarvelin {
namespace {

// The value of the toolkit option -NAME (or --NAME) VALUE; the last one counts.
std::string optionValue(const std::vector<std::string>& args, std::string_view name) {
    std::string value;
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        std::string_view arg = args[i];
        if (arg.starts_with("--")) arg.remove_prefix(1);
        if (arg.starts_with('-') && arg.substr(1) == name) value = args[++i];
    }
    return value;
}

bool namesXcbFirst(std::string_view platforms) {
    return platforms.starts_with("xcb") &&
           (platforms.size() == 3 || platforms[3] == ':' || platforms[3] == ';');
}

}  // namespace

std::string toolkitX11Display(const std::vector<std::string>& args, const EnvironmentLookup& environment) {
    const auto variable = [&environment](const char* name) -> std::string_view {
        const char* value = environment(name);
        return value ? value : "";
    };
    const std::string platform = optionValue(args, "platform");
    if (!platform.empty()) {
        if (!namesXcbFirst(platform)) return {};
    } else if (!variable("QT_QPA_PLATFORM").empty()) {
        if (!namesXcbFirst(variable("QT_QPA_PLATFORM"))) return {};
    } else if (!variable("WAYLAND_DISPLAY").empty() || variable("XDG_SESSION_TYPE") == "wayland") {
        // The toolkit may well choose Wayland here.
        return {};
    }
    const std::string display = optionValue(args, "display");
    return display.empty() ? std::string(variable("DISPLAY")) : display;
}

}  // namespace tarvelin
