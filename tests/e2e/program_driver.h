// Starts a program as a separate process, as a user would, and drives its windows from
// outside through window messages only. For ryxgui.exe it also makes the installation the
// program finds, and knows its main window and pages.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "win/registry_fixture.h"

class ProgramDriver {
public:
    // What ryxgui.exe finds in a new directory that the registry names: ryxc.conf and
    // ryxc.conf.default.
    struct Installation {
        std::string config;
        std::string default_config = {};
    };

    // Runs the program with the given command line (the program's path first).
    explicit ProgramDriver(const std::string& command_line) { start(command_line); }
    // Runs ryxgui.exe on a fresh installation, with these arguments after its path, and finds
    // its main window and both pages.
    explicit ProgramDriver(const Installation& installation, const std::string& arguments = "");
    ~ProgramDriver(); // ends the program if it still runs, then removes its installation
    ProgramDriver(const ProgramDriver&) = delete;
    ProgramDriver& operator=(const ProgramDriver&) = delete;

    // A visible top-level window of the program with this class (and title, when given),
    // polled until the deadline; null when none appears.
    HWND wait_for_window(const char* class_name, const char* title, DWORD timeout_ms) const;
    // A message box owned by the main window (by none before there is one), polled until the
    // deadline.
    HWND wait_for_box(DWORD timeout_ms = 10000) const;
    // Such a box's text and caption ("text|caption"), once it has been answered with this
    // button and has gone; empty when none came.
    std::string answer_box(int button_id, DWORD timeout_ms = 10000) const;
    // True with the exit code once the program has ended within the deadline.
    bool wait_for_exit(DWORD timeout_ms, DWORD& exit_code) const;
    // The exit code once the program has ended within the deadline; STILL_ACTIVE until then.
    DWORD exit_code(DWORD timeout_ms) const {
        DWORD code = STILL_ACTIVE;
        return wait_for_exit(timeout_ms, code) ? code : STILL_ACTIVE;
    }
    DWORD process_id() const { return process_id_; }

    // ryxgui.exe's installation and windows, once the Logging page has been made, which the
    // program does once its window is painted, or at once when it starts hidden.
    bool ready() const { return logging_ != nullptr; }
    const std::string& install_dir() const { return directory_->path(); }
    std::string file(const char* name) const { return directory_->file(name); }
    // Text added at the end of a file of the installation, as the client adds to its log.
    void append(const char* name, const std::string& text) const;
    HWND main_window() const { return main_; }
    HWND tabs() const { return tabs_; }
    HWND config_page() const { return config_; }
    HWND logging_page() const { return logging_; }

private:
    void start(std::string command_line);

    std::unique_ptr<RegistryFixture> registry_;
    std::unique_ptr<TempDir> directory_;
    HANDLE process_ = nullptr; // after the installation: the program ends before it goes
    DWORD process_id_ = 0;
    HWND main_ = nullptr, tabs_ = nullptr, config_ = nullptr, logging_ = nullptr;
};

// The command line that starts ryxgui.exe, which lies beside the test executable.
std::string ryxgui_command();
// The directory that holds the running test executable and the programs it drives.
std::string executable_directory();
// Visible top-level windows of this class (and title, when given) of one process (0: of any).
std::vector<HWND> visible_windows(const char* class_name, const char* title = nullptr,
                                  DWORD process_id = 0);
std::string window_text(HWND window);
// A dialog's button pressed as a user clicks it.
bool press_button(HWND dialog, int button_id);

// Keys held together, let go in reverse, as typed into the window in front.
void press(std::initializer_list<BYTE> keys);
// The control of the window's thread that has the keyboard's focus.
HWND focus_of(HWND window);

// A text value under HKEY_CURRENT_USER; "none" when there is none.
std::string user_registry_text(const char* key, const char* name);

// The system's words for an error, as a box shows them.
std::string system_text(DWORD error);

// The slowest answer of each window, asked every 20 ms by threads of the test's own while
// `during` runs.
std::vector<ULONGLONG> slowest_answers(const std::vector<HWND>& windows,
                                       const std::function<void()>& during);

// Polls the condition until it holds or the deadline passes.
bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms = 10000,
                DWORD poll_ms = 20);
// Polls the text until it reads as wanted or the deadline passes; the last text read.
std::string wait_for_text(const std::function<std::string()>& read, const std::string& wanted,
                          DWORD timeout_ms = 10000);

// A tool's text read from a tooltip of another process, through memory placed there: the
// tool's record and, right after it, its text's buffer, which comes zeroed.
std::string tool_text(HWND tooltip, HWND tool_window, UINT_PTR tool_id = 0);
