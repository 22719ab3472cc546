#include "platform/toolkit_preload.h"

#include <dlfcn.h>

#include <string_view>

namespace tarvelin {

std::vector<std::string> x11ToolkitLibraries(const std::vector<std::string>& args,
                                             const EnvironmentLookup& environment,
                                             const std::string& pluginFolder) {
    const auto isSet = [&environment](const char* name) {
        const char* value = environment(name);
        return value && *value;
    };
    if (pluginFolder.empty() || toolkitX11Display(args, environment).empty() || isSet("QT_PLUGIN_PATH") ||
        isSet("QT_QPA_PLATFORM_PLUGIN_PATH"))
        return {};
    std::vector<std::string> files{pluginFolder + "/platforms/libqxcb.so"};
    // Without a named input method the toolkit takes the compose-key one.
    const char* inputMethod = environment("QT_IM_MODULE");
    if (!inputMethod || std::string_view(inputMethod) == "compose")
        files.push_back(pluginFolder + "/platforminputcontexts/libcomposeplatforminputcontextplugin.so");
    files.emplace_back("libXcursor.so.1");
    return files;
}

void preloadLibraries(const std::vector<std::string>& files) {
    // The handles are never closed: the toolkit keeps these libraries for the whole run.
    for (const std::string& file : files) dlopen(file.c_str(), RTLD_LAZY | RTLD_LOCAL);
}

}  // namespace tarvelin
