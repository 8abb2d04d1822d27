// One run of the program against an install directory of the test's making, and the few
// window-message actions the configuration tests drive it with.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "e2e/program_driver.h"
#include "support/temp_dir.h"
#include "win/registry_fixture.h"

class GuiSession {
public:
    // Writes ryxc.conf (and ryxc.conf.default, when not empty), points the registry at the
    // directory and starts the program; ready() once the Config page shows.
    GuiSession(const std::string& config, const std::string& default_config);
    GuiSession(const GuiSession&) = delete;
    GuiSession& operator=(const GuiSession&) = delete;

    bool ready() const { return page_ != nullptr; }
    const TempDir& dir() const { return dir_; }
    std::string config_path() const { return dir_.file("ryxc.conf"); }

    HWND main_window() const { return main_; }
    HWND tab_control() const { return tabs_; }
    HWND page() const { return page_; }
    HWND control(int id) const { return GetDlgItem(page_, id); }

    // Presses Advanced and waits for the window; null when it does not show.
    HWND open_advanced() const;
    // A control of the Advanced window, also those inside its Prefix group.
    HWND advanced_control(int id) const;

    // Over to the Logging tab and back, with the keyboard as a user would.
    bool switch_tab_and_back() const;

    // A message box owned by the main window, polled for; null when none shows.
    HWND wait_for_box() const;
    bool no_box_shown() const;

private:
    RegistryFixture registry_;
    TempDir dir_;
    std::unique_ptr<ProgramDriver> driver_;
    HWND main_ = nullptr;
    HWND tabs_ = nullptr;
    HWND page_ = nullptr;
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
bool is_enabled(HWND window);
bool is_visible(HWND window);

// The windows that have the keyboard focus and the activation in the thread that owns the
// given window.
HWND focus_in_thread_of(HWND window);
HWND active_in_thread_of(HWND window);

// Where a child sits in its parent's client area.
RECT rect_in_parent(HWND child);
