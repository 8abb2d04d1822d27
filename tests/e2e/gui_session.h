// One run of the program as a user starts it, and the window-message actions the end-to-end
// tests drive it with.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <functional>
#include <memory>
#include <string>

#include "e2e/program_driver.h"
#include "support/temp_dir.h"
#include "win/registry_fixture.h"

// A fresh install directory that the registry names, holding ryxc.conf (and
// ryxc.conf.default, when not empty).
struct Installation {
    Installation(const std::string& config, const std::string& default_config);
    RegistryFixture registry;
    TempDir dir;
};

class GuiSession {
public:
    // Starts the program on the installation the registry names already.
    GuiSession();
    // Starts it on a new Installation.
    GuiSession(const std::string& config, const std::string& default_config = "");
    GuiSession(const GuiSession&) = delete;
    GuiSession& operator=(const GuiSession&) = delete;

    // Once the Config page shows.
    bool ready() const { return page_ != nullptr; }
    std::string file(const char* name) const { return install_->dir.file(name); }
    std::string config_path() const { return file("ryxc.conf"); }
    std::string install_dir() const { return install_->dir.path(); }

    HWND main_window() const { return main_; }
    HWND tab_control() const { return tabs_; }
    int selected_tab() const { return static_cast<int>(SendMessageA(tabs_, TCM_GETCURSEL, 0, 0)); }
    HWND page() const { return page_; } // the Config page
    HWND logging_page() const { return logging_; }
    HWND log_list() const; // the Logging page's list
    HWND control(int id) const { return GetDlgItem(page_, id); }

    // Presses Advanced and waits for the window; null when it does not show.
    HWND open_advanced() const;
    // A control of the Advanced window, also those inside its Prefix group.
    HWND advanced_control(int id) const;

    // Over to the Logging tab and back, with the keyboard as a user would.
    bool switch_tab_and_back() const;

    // A message box owned by the main window, polled for; null when none shows.
    HWND wait_for_box(DWORD timeout_ms = 10000) const;
    bool no_box_shown() const;

private:
    void start();

    std::unique_ptr<Installation> install_;
    std::unique_ptr<ProgramDriver> driver_;
    HWND main_ = nullptr;
    HWND tabs_ = nullptr;
    HWND page_ = nullptr;
    HWND logging_ = nullptr;
    mutable HWND advanced_ = nullptr;
};

// Polls the condition until it holds or the deadline passes.
bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms = 10000);

// A click that returns once the program has handled it (not for clicks that open a box).
bool click(HWND button);
// A click that returns at once, for clicks that may open a message box.
bool post_click(HWND button);
bool set_text(HWND control, const std::string& text);
bool is_checked(HWND box);
// Presses OK on a message box and waits until it has gone.
bool dismiss(HWND box);

// The keyboard focus and the activation in the thread that owns the window.
GUITHREADINFO thread_info_of(HWND window);
