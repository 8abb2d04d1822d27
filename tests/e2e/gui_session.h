// One run of the program on a fresh installation, and the window-message actions the
// end-to-end tests drive it with.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "e2e/program_driver.h"
#include "support/temp_dir.h"
#include "win/registry_fixture.h"

class GuiSession {
public:
    // Writes ryxc.conf and ryxc.conf.default into a new install directory that the registry
    // names, and starts the program on it, after before_start has had the directory.
    explicit GuiSession(const std::string& config, const std::string& default_config = "",
                        const std::function<void(const std::string&)>& before_start = nullptr);

    // Once the main window shows its Config page.
    bool ready() const { return config_ != nullptr && IsWindowVisible(config_); }
    const ProgramDriver& program() const { return *driver_; }
    std::string file(const char* name) const { return dir_.file(name); }
    const std::string& install_dir() const { return dir_.path(); }

    HWND main_window() const { return main_; }
    HWND tabs() const { return tabs_; }
    int selected_tab() const { return static_cast<int>(SendMessageA(tabs_, TCM_GETCURSEL, 0, 0)); }
    HWND config_page() const { return config_; }
    HWND logging_page() const { return logging_; }

    // A message box owned by the main window, polled for; null when none shows.
    HWND wait_for_box(DWORD timeout_ms = 10000) const;

private:
    RegistryFixture registry_;
    TempDir dir_;
    std::unique_ptr<ProgramDriver> driver_; // last: the program ends before its files go
    HWND main_ = nullptr, tabs_ = nullptr, config_ = nullptr, logging_ = nullptr;
};

// A click that returns once the program has handled it; a click that opens a box is posted.
bool click(HWND button);
bool set_text(HWND control, const std::string& text);
// Presses OK on a message box and waits until it has gone.
bool dismiss(HWND box);

// A text that a control of another process writes into a record's buffer: both are placed in
// that process, the buffer (remote_text_capacity bytes) right after the record, *text on it.
constexpr int remote_text_capacity = 1024;
std::string remote_text(HWND control, UINT message, WPARAM wparam, void* record, std::size_t size,
                        LPSTR* text);
