#include "app/command_line.h"

#include <gtest/gtest.h>

namespace tarvelin {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, ReadsListsOptionsAndMistakes) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        Action action;
        std::vector<std::string> files;
        std::string error;
    };
    const std::string unknownX = "tarvelin2: unknown option '-x'\nTry 'tarvelin2 --help'.\n";
    const Case cases[] = {
        {"nothing", {}, Action::Run, {}, ""},
        {"relative, absolute, dotted",
         {"a.kxd", "/x/../y/b.kxd", "sub/./c.kxd"},
         Action::Run,
         {"/home/u/a.kxd", "/y/b.kxd", "/home/u/sub/c.kxd"},
         ""},
        {"bytes that are not UTF-8",
         {"\x8e\x91\x97\xbf.kxd"},
         Action::Run,
         {"/home/u/\x8e\x91\x97\xbf.kxd"},
         ""},
        {"empty argument skipped", {"", "a.kxd"}, Action::Run, {"/home/u/a.kxd"}, ""},
        {"help after a file", {"a.kxd", "--help"}, Action::Help, {}, ""},
        {"short help", {"-h"}, Action::Help, {}, ""},
        {"version", {"--version", "a.kxd"}, Action::Version, {}, ""},
        {"unknown option", {"a.kxd", "-x", "-y"}, Action::Error, {}, unknownX},
        {"help wins over a mistake", {"-x", "--help"}, Action::Help, {}, ""},
        {"after --, dashes are names",
         {"--", "-x.kxd", "--help"},
         Action::Run,
         {"/home/u/-x.kxd", "/home/u/--help"},
         ""},
    };
    for (const Case& c : cases) {
        const CommandLine got = parseCommandLine(c.args, "/home/u");
        EXPECT_EQ(got.action, c.action) << c.name;
        EXPECT_EQ(got.files, c.files) << c.name;
        EXPECT_EQ(got.error, c.error) << c.name;
    }
}

TEST(CommandLine, VersionAndHelpTexts) {
    EXPECT_EQ(versionText(), "Tarvelin2 2.0\n");
    EXPECT_EQ(helpText().substr(0, 31), "Usage: tarvelin2 [LIST.kxd]...\n");
}

}  // namespace
}  // namespace tarvelin
