// "Start with Windows" for the current user: the Run value that starts this very program at
// logon, in the notification area only ("--tray").
#pragma once

class StartWithWindows {
public:
    static constexpr const char* run_key = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr const char* value_name = "RYX Client GUI";
    static constexpr const char* tray_argument = "--tray";

    // Whether the value starts this program: the path it names, quoted or not, is this
    // executable's, compared as file names compare. Another program's value, or another copy's
    // of this one, is not.
    static bool is_on();
    // Writes "\"<this executable>\" --tray".
    static bool turn_on();
    // Removes the value when it starts this program; another's is left as it is.
    static bool turn_off();

    // Whether a Run command starts the program at this path.
    static bool starts(const char* command, const char* program_path);
    // Whether the program's command line (without the program's name) asks for a start in the
    // notification area only.
    static bool asks_for_tray(const char* command_line);
};
