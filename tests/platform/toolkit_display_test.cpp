#include "platform/toolkit_display.h"

#include <gtest/gtest.h>

#include <map>

namespace tarvelin {
namespace {

TEST(ToolkitX11Display, IsTheDisplayOnlyWhereTheToolkitSurelyUsesX11) {
    using Environment = std::map<std::string, std::string>;
    const struct {
        std::vector<std::string> args;
        Environment environment;
        std::string expected;
    } cases[] = {
        {{}, {{"DISPLAY", ":0"}}, ":0"},
        {{}, {}, ""},
        {{"-display", ":3"}, {{"DISPLAY", ":0"}}, ":3"},
        {{"--display", ":3", "list.kxd"}, {}, ":3"},
        {{"list.kxd", "-display"}, {{"DISPLAY", ":0"}}, ":0"},  // an option without its value is no option
        {{}, {{"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "xcb"}}, ":0"},
        {{}, {{"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "xcb;wayland"}}, ":0"},
        {{}, {{"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "offscreen"}}, ""},
        {{}, {{"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "wayland;xcb"}}, ""},
        {{}, {{"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "xcbx"}}, ""},
        {{"-platform", "offscreen"}, {{"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "xcb"}}, ""},
        {{"-platform", "xcb"}, {{"DISPLAY", ":0"}, {"WAYLAND_DISPLAY", "wayland-0"}}, ":0"},
        // A Wayland session with X11 beside it: the toolkit may choose either.
        {{}, {{"DISPLAY", ":0"}, {"WAYLAND_DISPLAY", "wayland-0"}}, ""},
        {{}, {{"DISPLAY", ":0"}, {"XDG_SESSION_TYPE", "wayland"}}, ""},
        {{}, {{"DISPLAY", ":0"}, {"XDG_SESSION_TYPE", "x11"}}, ":0"},
        {{}, {{"DISPLAY", ":0"}, {"XDG_SESSION_TYPE", "wayland"}, {"QT_QPA_PLATFORM", "xcb"}}, ":0"},
    };
    for (const auto& c : cases) {
        const auto lookup = [&c](const char* name) -> const char* {
            const auto it = c.environment.find(name);
            return it == c.environment.end() ? nullptr : it->second.c_str();
        };
        std::string described;
        for (const auto& arg : c.args) described += arg + ' ';
        for (const auto& [name, value] : c.environment) described += name + '=' + value + ' ';
        EXPECT_EQ(toolkitX11Display(c.args, lookup), c.expected) << described;
    }
}

}  // namespace
}  // namespace tarvelin
