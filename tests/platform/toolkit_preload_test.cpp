#include "platform/toolkit_preload.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QLibraryInfo>
#include <map>

namespace tarvelin {
namespace {

using Environment = std::map<std::string, std::string>;

std::vector<std::string> librariesFor(const std::vector<std::string>& args, const Environment& environment,
                                      const std::string& pluginFolder = "/qt/plugins") {
    return x11ToolkitLibraries(
        args,
        [&environment](const char* name) -> const char* {
            const auto it = environment.find(name);
            return it == environment.end() ? nullptr : it->second.c_str();
        },
        pluginFolder);
}

TEST(ToolkitPreload, NamesTheLibrariesOfAnX11StartOnly) {
    const std::string xcb = "/qt/plugins/platforms/libqxcb.so";
    const std::string compose = "/qt/plugins/platforminputcontexts/libcomposeplatforminputcontextplugin.so";
    const std::vector<std::string> all{xcb, compose, "libXcursor.so.1"};
    const std::vector<std::string> noCompose{xcb, "libXcursor.so.1"};
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
        EXPECT_EQ(librariesFor(c.args, c.environment), c.expected) << described;
    }
    EXPECT_EQ(librariesFor({}, {{"DISPLAY", ":0"}}, ""), std::vector<std::string>{});
}

// The toolkit's own plugin folder holds what is named there.
TEST(ToolkitPreload, LeavesTheToolkitsOwnFilesLoaded) {
    const std::vector<std::string> files =
        librariesFor({}, {{"DISPLAY", ":0"}},
                     QFile::encodeName(QLibraryInfo::path(QLibraryInfo::PluginsPath)).toStdString());
    ASSERT_EQ(files.size(), 3u);
    preloadLibraries(files);
    for (const std::string& file : files)
        EXPECT_NE(dlopen(file.c_str(), RTLD_LAZY | RTLD_NOLOAD), nullptr) << file << ": " << dlerror();
}

}  // namespace
}  // namespace tarvelin
