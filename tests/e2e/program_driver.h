// Starts a program as a separate process, as a user would, and drives its windows from
// outside through window messages only.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class ProgramDriver {
public:
    // Runs the program with the given command line (the program's path first).
    explicit ProgramDriver(const std::string& command_line);
    ~ProgramDriver(); // ends the program if it still runs
    ProgramDriver(const ProgramDriver&) = delete;
    ProgramDriver& operator=(const ProgramDriver&) = delete;

    bool started() const { return process_ != nullptr; }
    // A visible top-level window of the program with this class (and title, when given),
    // polled until the deadline; null when none appears.
    HWND wait_for_window(const char* class_name, const char* title, DWORD timeout_ms) const;
    // Every visible top-level window of the program right now.
    int count_windows() const;
    // True once the program waits for input with nothing left to do (its windows painted).
    bool wait_for_input_idle(DWORD timeout_ms) const;
    // True with the exit code once the program has ended within the deadline.
    bool wait_for_exit(DWORD timeout_ms, DWORD& exit_code) const;

private:
    HANDLE process_ = nullptr;
    DWORD process_id_ = 0;
};

// The directory that holds the running test executable and the programs it drives.
std::string executable_directory();
std::string window_text(HWND window);
// A message box's text; its buttons pressed as a user clicks them.
std::string message_box_text(HWND box);
bool press_button(HWND dialog, int button_id);

// Polls the condition until it holds or the deadline passes.
bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms = 10000,
                DWORD poll_ms = 20);
