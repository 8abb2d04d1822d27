#include "base/program_action.h"

#include <vector>

#include "base/command_line.h"

namespace {

constexpr struct {
    ProgramAction action;
    const char* argument;
} names[] = {
    {ProgramAction::start, "--start"},
    {ProgramAction::stop, "--stop"},
    {ProgramAction::write_config, "--write-config"},
};

} // namespace

ActionRequest parse_action(const char* command_line) {
    const std::vector<std::string> arguments = split_arguments(command_line);
    if (arguments.empty()) {
        return {};
    }
    ActionRequest request{ProgramAction::invalid, {}};
    for (const auto& name : names) {
        if (arguments[0] == name.argument) {
            request.action = name.action;
        }
    }
    // --write-config takes its file, the others nothing more.
    const std::size_t expected = request.action == ProgramAction::write_config ? 2 : 1;
    if (arguments.size() != expected) {
        return {ProgramAction::invalid, {}};
    }
    if (expected == 2) {
        request.file = arguments[1];
    }
    return request;
}

std::string action_command_line(ProgramAction action, const std::string& file) {
    for (const auto& name : names) {
        if (name.action == action) {
            return action == ProgramAction::write_config
                       ? std::string(name.argument) + " " + quote_argument(file)
                       : name.argument;
        }
    }
    return {};
}
