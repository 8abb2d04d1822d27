#include "base/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
