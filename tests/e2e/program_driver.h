// Starts a program as a separate process, as a user would, and drives its windows from
// outside through window messages only. For ryxgui.exe it also makes the installation the
// program finds, and knows its main window and pages.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

class RegistryFixture;
class TempDir;

class ProgramDriver {
public:
    // What ryxgui.exe finds: ryxc.conf and ryxc.conf.default in a new directory that the
    // registry names. before_start has the directory before the program starts.
    struct Installation {
        std::string config;
        std::string default_config;
        std::function<void(const std::string& directory)> before_start;
    };

    // Runs the program with the given command line (the program's path first).
    explicit ProgramDriver(const std::string& command_line);
    // Runs ryxgui.exe on a fresh installation, and finds its main window and both pages.
    explicit ProgramDriver(const Installation& installation);
    ~ProgramDriver(); // ends the program if it still runs, then removes its installation
    ProgramDriver(const ProgramDriver&) = delete;
    ProgramDriver& operator=(const ProgramDriver&) = delete;

    // A visible top-level window of the program with this class (and title, when given),
    // polled until the deadline; null when none appears.
    HWND wait_for_window(const char* class_name, const char* title, DWORD timeout_ms) const;
    // Every visible top-level window of the program right now.
    int count_windows() const;
    // True with the exit code once the program has ended within the deadline.
    bool wait_for_exit(DWORD timeout_ms, DWORD& exit_code) const;

    // ryxgui.exe's windows, once its Config page shows; a message box it owns.
    bool ready() const { return config_ != nullptr && IsWindowVisible(config_); }
    std::string install_dir() const;
    std::string file(const char* name) const;
    HWND main_window() const { return main_; }
    HWND tabs() const { return tabs_; }
    HWND config_page() const { return config_; }
    HWND logging_page() const { return logging_; }
    HWND control(int id) const; // on either page or the main window
    int selected_tab() const;
    HWND wait_for_box(DWORD timeout_ms = 10000) const;

private:
    void start(const std::string& command_line);

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
std::string window_text(HWND window);
// A message box's text; its buttons pressed as a user clicks them.
std::string message_box_text(HWND box);
bool press_button(HWND dialog, int button_id);
// Presses OK on a message box and waits until it has gone.
bool dismiss(HWND box);
// A click that returns once the program has handled it; a click that opens a box is posted.
bool click(HWND button);
bool set_text(HWND control, const std::string& text);

// A text that a control of another process writes into a record's buffer: both are placed in
// that process, the buffer (remote_text_capacity bytes) right after the record, *text on it.
constexpr int remote_text_capacity = 1024;
std::string remote_text(HWND control, UINT message, WPARAM wparam, void* record, std::size_t size,
                        LPSTR* text);

// Polls the condition until it holds or the deadline passes.
bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms = 10000,
                DWORD poll_ms = 20);
