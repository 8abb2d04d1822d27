// The program's one top-level window: the tab control with the Config and Logging pages,
// the service status line with its tooltip, and the Start and Stop buttons.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

#include "ui/control_table.h"
#include "ui/window_font.h"
#include "ui/window_object.h"

class ConfigPage;
class LoggingPage;
class ServiceControl;
class StatusIcons;
struct ServiceStateDisplay;
class TabDialog;

class MainWindow : public WindowObject {
public:
    // The window's place and size as the entry point gives them, in 96-DPI units.
    static constexpr RECT area = {0, 0, 646, 526};
    static constexpr const char* window_class = "DIZURO";

    // Posted once the window is up: the configuration file could not be read.
    static constexpr UINT config_warning_message = WM_APP + 1;

    MainWindow(const char* title, DWORD style, const RECT* rectangle, HINSTANCE instance);
    ~MainWindow() override;

    // Builds the window and its children; false when the tab control cannot be made.
    bool create();
    LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;

    // Both may be called from worker threads: they only act through the window manager.
    void show_logging_tab();
    void show_service_state(DWORD state);

private:
    TabDialog* page_at(LRESULT tab_index);
    // The Logging page, made on first need.
    LoggingPage* logging_page();
    // What the user cannot see at first, made once the window is painted: the Logging page,
    // the tooltip and the status monitor.
    void finish_start_up();
    RECT page_area() const;
    void run_service_command(bool (ServiceControl::*command)());
    void paint(HWND window);
    LRESULT confirm_close(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    // A new DPI: the system's rectangle, every control laid out again, the font made again,
    // the status icons loaded again at their new size.
    void apply_dpi(unsigned reported_dpi, const RECT* suggested);
    RECT status_tool_rect() const;

    std::unique_ptr<ConfigPage> config_page_;
    std::unique_ptr<LoggingPage> logging_page_;
    HWND tab_control_ = nullptr;
    HWND start_button_ = nullptr;
    HWND stop_button_ = nullptr;
    HWND status_icon_ = nullptr;
    HWND tooltip_ = nullptr;
    std::unique_ptr<ServiceControl> service_;
    ControlTable controls_;
    unsigned dpi_;
    WindowFont font_;
    // The status icons belong to the status monitor's thread once it runs; this thread only
    // tells it the size they are to have.
    std::unique_ptr<StatusIcons> icons_;
    std::atomic<int> icon_size_;
    const ServiceStateDisplay* shown_state_ = nullptr; // touched by the status monitor only
    bool start_up_pending_ = false;
};
