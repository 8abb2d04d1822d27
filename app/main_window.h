// The program's one top-level window: the tab control with the Config and Logging pages, the
// service status line, and the Start and Stop buttons. It owns what the workers report to:
// their posted messages arrive here, on the window's own thread.
#pragma once

#include <windows.h>

#include <memory>

#include "config/session.h"
#include "service/service_command.h"
#include "ui/control_table.h"
#include "ui/focus_memory.h"
#include "ui/window_font.h"
#include "ui/window_object.h"

class AccessibleNames;
class ConfigPage;
class LogMailbox;
class LoggingPage;
class StatusIcons;
class StatusMonitor;
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
    // The keys the window moves by that a dialog's own handling does not give: Tab through the
    // tab strip in reading order, Ctrl+Tab and Ctrl+Page Up/Down between the pages. True when
    // the message was one of them and is done.
    bool handle_navigation_key(const MSG& message);

    void show_logging_tab();
    void show_service_state(DWORD state);
    // Whether Start and Stop run the program elevated, as their shields say.
    bool start_needs_elevation() const { return start_elevated_; }
    bool stop_needs_elevation() const { return stop_elevated_; }

private:
    LRESULT on_private_message(UINT message, WPARAM wparam);
    LRESULT on_command(HWND window, WPARAM wparam, LPARAM lparam);
    LRESULT on_notify(HWND window, WPARAM wparam, LPARAM lparam);
    LRESULT on_show_window(HWND window, WPARAM wparam, LPARAM lparam);
    LRESULT on_timer(HWND window, WPARAM wparam, LPARAM lparam);
    LRESULT on_close(HWND window, WPARAM wparam, LPARAM lparam);
    LRESULT on_paint(HWND window, WPARAM wparam, LPARAM lparam);
    LRESULT on_size(HWND window, WPARAM wparam, LPARAM lparam);
    LRESULT on_dialog_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    void on_look_change(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    void insert_tabs();
    TabDialog* page_at(LRESULT tab_index);
    TabDialog* current_page();
    void select_page(int tab_index);
    // The Logging page, made on first need; making it starts the log follower.
    LoggingPage* logging_page();
    // What the user cannot see at first, made once the window is painted: the Logging page,
    // the tooltip and the status monitor.
    void finish_start_up();
    RECT page_area() const;
    // Start or Stop, on a thread of its own: the window answers on while the service manager
    // takes its time. Both buttons stay disabled until the state is reported after it.
    // A shielded button runs the program itself elevated for the command instead, waited for
    // the same way.
    void start_service_command(ServiceCommand command);
    void finish_service_command(DWORD error);
    // Which buttons Windows will ask about: the shields on them, and the Apply button's.
    void show_rights(WPARAM needs_elevation);
    // Start and Stop as the state shown allows, unless a command runs.
    void enable_commands();
    // Before a control with the focus is disabled, the focus goes where the keyboard can go on.
    void set_button_enabled(HWND button, bool enabled);
    // The follower's rows into the list, then a warning for each stop line among them, one
    // box after the other; the log goes on being shown while a box is up.
    void show_log_rows();
    void show_stop_warnings();
    // A new DPI, theme, colour scheme or system font: every control laid out, in a font and
    // with icons and brushes made anew, and painted whole.
    void apply_look(unsigned reported_dpi, const RECT* suggested);
    RECT status_tool_rect() const;
    void update_status_icon();
    // Reading order: the tab strip, the page's controls, Stop, Start.
    HWND next_tab_stop(HWND from, bool backwards);
    HWND first_page_control();

    Session& session_;
    std::unique_ptr<ConfigPage> config_page_;
    std::unique_ptr<LoggingPage> logging_page_;
    HWND tab_control_ = nullptr;
    HWND start_button_ = nullptr;
    HWND stop_button_ = nullptr;
    HWND status_icon_ = nullptr;
    HWND status_text_ = nullptr;
    HWND tooltip_ = nullptr;
    ControlTable controls_;
    unsigned dpi_;
    WindowFont font_;
    std::unique_ptr<StatusIcons> icons_;
    // The icon's name for screen readers: the state in words, as beside it.
    std::unique_ptr<AccessibleNames> names_;
    const ServiceStateDisplay* shown_state_ = nullptr;
    StatusMonitor* status_monitor_ = nullptr; // lives as long as the process
    FocusMemory focus_;
    bool command_running_ = false;
    ServiceCommand last_command_ = ServiceCommand::start;
    bool start_elevated_ = false;
    bool stop_elevated_ = false;
    bool quit_after_apply_ = false;      // closing waits for an elevated Apply
    HWND focus_after_command_ = nullptr; // the other button, which the focus waits for
    // Shared with the log follower, which may outlive the window.
    std::shared_ptr<LogMailbox> log_mailbox_;
    int pending_warnings_ = 0;
    bool warning_shown_ = false;
    bool start_up_pending_ = false;
    bool tray_start_;
    std::unique_ptr<TrayWindow> tray_;
};
