#include "platform/toolkit_preload.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <map>

namespace tarvelin {
namespace {

using Environment = std::map<std::string, std::string>;

std::vector<std::string> librariesFor(const std::vector<std::string>& args, const Environment& environment) {
    return x11ToolkitLibraries(args, [&environment](const char* name) -> const char* {
        const auto it = environment.find(name);
        return it == environment.end() ? nullptr : it->second.c_str();
    });
}

// The files' folder is the toolkit's, known when the program is built.
TEST(ToolkitPreload, NamesTheLibrariesOfAnX11StartOnly) {
    const std::vector<std::string> all{"/platforms/libqxcb.so",
                                       "/platforminputcontexts/libcomposeplatforminputcontextplugin.so",
                                       "libXcursor.so.1"};
    const std::vector<std::string> noCompose{"/platforms/libqxcb.so", "libXcursor.so.1"};
    const struct {
        std::vector<std::string> args;
        Environment environment;
        std::vector<std::string> expected;
    } cases[] = {
        {{}, {{"DISPLAY", ":0"}}, all},
        {{}, {{"DISPLAY", ":0"}, {"QT_IM_MODULE", "compose"}}, all},
        {{}, {{"DISPLAY", ":0"}, {"QT_IM_MODULE", "ibus"}}, noCompose},
        {{}, {{"DISPLAY", ":0"}, {"QT_PLUGIN_PATH", "/opt/plugins"}}, {}},
        {{}, {{"DISPLAY", ":0"}, {"QT_QPA_PLATFORM_PLUGIN_PATH", "/opt/platforms"}}, {}},
        {{}, {{"DISPLAY", ":0"}, {"QT_PLUGIN_PATH", ""}}, all},
        {{}, {{"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "offscreen"}}, {}},
        {{"-platform", "wayland"}, {{"DISPLAY", ":0"}}, {}},
        {{}, {}, {}},
    };
    for (const auto& c : cases) {
        std::string described;
        for (const auto& arg : c.args) described += arg + ' ';
        for (const auto& [name, value] : c.environment) described += name + '=' + value + ' ';
        const std::vector<std::string> files = librariesFor(c.args, c.environment);
        ASSERT_EQ(files.size(), c.expected.size()) << described;
        for (size_t i = 0; i < files.size(); ++i) EXPECT_TRUE(files[i].ends_with(c.expected[i])) << files[i];
    }
}

TEST(ToolkitPreload, LeavesTheToolkitsOwnFilesLoaded) {
    const std::vector<std::string> files = librariesFor({}, {{"DISPLAY", ":0"}});
    preloadLibraries(files);
    for (const std::string& file : files)
        EXPECT_NE(dlopen(file.c_str(), RTLD_LAZY | RTLD_NOLOAD), nullptr) << file << ": " << dlerror();
}

}  // namespace
}  // namespace tarvelin
