#include "base/command_line.h"

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::vector<std::string> split_arguments(const char* command_line) {
    std::vector<std::string> arguments;
    const char* at = command_line != nullptr ? command_line : "";
    for (;;) {
        while (is_blank(*at)) {
            ++at;
        }
        if (*at == '\0') {
            return arguments;
        }
        std::string argument;
        bool quoted = false;
        while (*at != '\0' && (quoted || !is_blank(*at))) {
            std::size_t backslashes = 0;
            while (*at == '\\') {
                ++backslashes;
                ++at;
            }
            if (*at != '"') {
                argument.append(backslashes, '\\');
                if (*at != '\0' && (quoted || !is_blank(*at))) {
                    argument += *at++;
                }
                continue;
            }
            argument.append(backslashes / 2, '\\');
            if (backslashes % 2 == 1) {
                argument += '"';
            } else if (quoted && at[1] == '"') {
                argument += '"';
                ++at;
            } else {
                quoted = !quoted;
            }
            ++at;
        }
        arguments.push_back(argument);
    }
}

std::string quote_argument(const std::string& argument) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped by one more.
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    // Before the closing quote too.
    quoted.append(backslashes * 2, '\\');
    return quoted + '"';
}
