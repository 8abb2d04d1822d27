// The program's one top-level window: the tab control with the Config and Logging pages, the
// service status line with its tooltip, and the Start and Stop buttons. It owns what the
// workers report to: their posted messages arrive here, on the window's own thread.
#pragma once

#include <windows.h>

#include <memory>

#include "config/session.h"
#include "ui/control_table.h"
#include "ui/window_font.h"
#include "ui/window_object.h"

class ConfigPage;
class LogMailbox;
class LoggingPage;
class ServiceControl;
class StatusIcons;
struct ServiceStateDisplay;
class TabDialog;
class TrayWindow;

class MainWindow : public WindowObject {
public:
    // The window's place and size as the entry point gives them, in 96-DPI units.
    static constexpr RECT area = {0, 0, 646, 526};
    static constexpr const char* window_class = "DIZURO";

    // A tray start keeps the window hidden, with only the icon in the notification area.
    MainWindow(const char* title, DWORD style, const RECT* rectangle, HINSTANCE instance,
               Session& session, bool tray_start = false);
    ~MainWindow() override;

    // Builds the window and its children; false, with the system's error code kept for
    // GetLastError, when the window or its tab control cannot be made.
    bool create();
    LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;

    void show_logging_tab();
    void show_service_state(DWORD state);

private:
    LRESULT on_private_message(UINT message, WPARAM wparam);
    LRESULT on_command(HWND window, WPARAM wparam, LPARAM lparam);
    LRESULT on_notify(HWND window, WPARAM wparam, LPARAM lparam);
    LRESULT on_show_window(HWND window, WPARAM wparam, LPARAM lparam);
    LRESULT on_timer(HWND window, WPARAM wparam, LPARAM lparam);
    LRESULT on_close(HWND window, WPARAM wparam, LPARAM lparam);
    void on_paint(HWND window);

    TabDialog* page_at(LRESULT tab_index);
    // The Logging page, made on first need; making it starts the log follower.
    LoggingPage* logging_page();
    // What the user cannot see at first, made once the window is painted: the Logging page,
    // the tooltip and the status monitor.
    void finish_start_up();
    RECT page_area() const;
    void run_service_command(bool (ServiceControl::*command)());
    // The follower's rows into the list, then a warning for each stop line among them, one
    // box after the other; the log goes on being shown while a box is up.
    void show_log_rows();
    void show_stop_warnings();
    // A new DPI: the system's rectangle, every control laid out again, the font and the status
    // icons made again.
    void apply_dpi(unsigned reported_dpi, const RECT* suggested);
    RECT status_tool_rect() const;
    void update_status_icon();

    Session& session_;
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
    std::unique_ptr<StatusIcons> icons_;
    const ServiceStateDisplay* shown_state_ = nullptr;
    // Shared with the log follower, which may outlive the window.
    std::shared_ptr<LogMailbox> log_mailbox_;
    int pending_warnings_ = 0;
    bool warning_shown_ = false;
    bool start_up_pending_ = false;
    bool tray_start_;
    std::unique_ptr<TrayWindow> tray_;
};
