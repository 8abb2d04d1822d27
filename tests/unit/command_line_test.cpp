#include "base/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/program_action.h"

using Arguments = std::vector<std::string>;

TEST(CommandLine, SplitAsTheWindowsRuntimeSplits) {
    const struct {
        const char* line;
        Arguments arguments;
    } cases[] = {
        {"", {}},
        {" \t--start\t ", {"--start"}},
        {"--write-config \"C:\\My Files\\a b.conf\"", {"--write-config", "C:\\My Files\\a b.conf"}},
        {"C:\\dir\\ x", {"C:\\dir\\", "x"}},       // backslashes alone stand
        {"\"C:\\dir\\\\\" x", {"C:\\dir\\", "x"}}, // doubled before a closing quote
        {"a\\\\\"b c\" d", {"a\\b c", "d"}},       // 2n: n, and the quote opens
        {"a\\\\\\\"b c", {"a\\\"b", "c"}},         // 2n + 1: n and the quote itself
        {"\"a\"\"b\" \"\"", {"a\"b", ""}},         // two quotes inside; an empty one
        {"pa\"rt ly\"quoted", {"part lyquoted"}},
        {"\"unclosed tail", {"unclosed tail"}},
        {"r\xE9sum\xE9.conf", {"r\xE9sum\xE9.conf"}}, // the code page's bytes
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.arguments, split_arguments(c.line)) << c.line;
    }
}

TEST(CommandLine, AQuotedArgumentComesBackWhole) {
    for (const std::string argument :
         {"", "plain", "C:\\My Files\\a b.conf", "C:\\dir\\", "a\\\"b", "\"", "tab\there",
          "d\xE9j\xE0 vu", "\\\\server\\share\\\\"}) {
        EXPECT_EQ(Arguments({"--write-config", argument}),
                  split_arguments(("--write-config " + quote_argument(argument)).c_str()))
            << argument;
    }
}

TEST(CommandLine, ActionsAndWhatTheyTake) {
    const auto start = ProgramAction::start, write = ProgramAction::write_config,
               invalid = ProgramAction::invalid;
    const struct {
        const char* line;
        ProgramAction action;
        const char* file;
    } cases[] = {
        {"  ", ProgramAction::none, ""},
        {"--start", start, ""},
        {"--stop", ProgramAction::stop, ""},
        {"--write-config \"C:\\a b\\r\xE9gl\xE9.conf\"", write, "C:\\a b\\r\xE9gl\xE9.conf"},
        {"--write-config", invalid, ""},
        {"--write-config one two", invalid, ""},
        {"--start --stop", invalid, ""},
        {"--START", invalid, ""},
        {"\"\"", invalid, ""},
        {"/start", invalid, ""},
    };
    for (const auto& c : cases) {
        const ActionRequest request = parse_action(c.line);
        EXPECT_EQ(c.action, request.action) << c.line;
        EXPECT_EQ(c.file, request.file) << c.line;
    }
    // What the window asks an elevated run for is read back as asked.
    for (const ProgramAction action : {start, ProgramAction::stop, write}) {
        const std::string file = "C:\\Users\\A B\\Temp\\ryx0000002A.tmp";
        const ActionRequest request = parse_action(action_command_line(action, file).c_str());
        EXPECT_EQ(action, request.action);
        EXPECT_EQ(action == write ? file : "", request.file);
    }
}
