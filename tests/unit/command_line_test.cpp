#include "base/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/program_action.h"

using Arguments = std::vector<std::string>;

// What the program itself hands an elevated run, and what a shortcut or the Run value gives:
// quoted paths with blanks and backslashes, blanks around.
TEST(CommandLine, AQuotedArgumentComesBackWhole) {
    EXPECT_EQ(Arguments{}, split_arguments(""));
    EXPECT_EQ(Arguments{"--start"}, split_arguments(" \t--start\t "));
    for (const std::string argument : {"", "C:\\My Files\\a b.conf", "C:\\dir\\", "a\\\"b", "\""}) {
        EXPECT_EQ(Arguments({"--write-config", argument}),
                  split_arguments(("--write-config " + quote_argument(argument)).c_str()))
            << argument;
    }
}

TEST(CommandLine, ActionsAndWhatTheyTake) {
    const auto write = ProgramAction::write_config, invalid = ProgramAction::invalid;
    const struct {
        const char* line;
        ProgramAction action;
        const char* file;
    } cases[] = {
        {"  ", ProgramAction::none, ""},
        {"--write-config \"C:\\a b\\r\xE9gl\xE9.conf\"", write, "C:\\a b\\r\xE9gl\xE9.conf"},
        {"--write-config", invalid, ""},
        {"--write-config one two", invalid, ""},
        {"--start --stop", invalid, ""},
    };
    for (const auto& c : cases) {
        const ActionRequest request = parse_action(c.line);
        EXPECT_EQ(c.action, request.action) << c.line;
        EXPECT_EQ(c.file, request.file) << c.line;
    }
    // What the window asks an elevated run for is read back as asked.
    for (const ProgramAction action : {ProgramAction::start, ProgramAction::stop, write}) {
        const std::string file = "C:\\Users\\A B\\Temp\\ryx0000002A.tmp";
        const ActionRequest request = parse_action(action_command_line(action, file).c_str());
        EXPECT_EQ(action, request.action);
        EXPECT_EQ(action == write ? file : "", request.file);
    }
}
