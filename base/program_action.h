// The actions the program runs instead of its window when its command line names one: what an
// elevated run of the program does for a user who may not. Platform-free.
#pragma once

#include <string>

enum class ProgramAction {
    none,         // no arguments: the window
    start,        // --start
    stop,         // --stop
    write_config, // --write-config FILE
    invalid,      // anything else
};

struct ActionRequest {
    ProgramAction action = ProgramAction::none;
    std::string file; // the file --write-config reads
};

// What the command line after the program's name asks for.
ActionRequest parse_action(const char* command_line);

// The command line that asks for the action (file only for write_config).
std::string action_command_line(ProgramAction action, const std::string& file = "");
