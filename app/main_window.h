// The program's one top-level window: the tab control with the Config and Logging pages,
// the service status line with its tooltip, and the Start and Stop buttons.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/window_object.h"

class ConfigPage;
class LoggingPage;
class ServiceControl;
struct ServiceStateDisplay;
class TabDialog;

class MainWindow : public WindowObject {
public:
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
    TabDialog* page_at(LRESULT tab_index) const;
    void run_service_command(bool (ServiceControl::*command)());
    void paint(HWND window);
    LRESULT confirm_close(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    std::unique_ptr<ConfigPage> config_page_;
    std::unique_ptr<LoggingPage> logging_page_;
    HWND tab_control_ = nullptr;
    int tab_width_;
    int tab_height_;
    HWND start_button_ = nullptr;
    HWND stop_button_ = nullptr;
    HWND status_icon_ = nullptr;
    HWND tooltip_ = nullptr;
    HICON running_icon_;
    HICON pending_icon_;
    HICON stopped_icon_;
    HICON warning_icon_;
    std::unique_ptr<ServiceControl> service_;
    const ServiceStateDisplay* shown_state_ = nullptr; // touched by the status monitor only
};
