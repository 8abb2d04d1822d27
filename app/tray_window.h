// The program in the notification area: the icon that shows the service's state, its menu, the
// notifications when the tunnel starts or stops on its own, and the user's choices for them.
// A hidden window of its own takes what the shell sends: the icon's clicks and keys, and
// "TaskbarCreated" when the shell starts again.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>

#include "base/owned_handle.h"
#include "service/notification_rule.h"
#include "ui/window_object.h"

class MainWindow;
class NotifyIcon;
class StatusIcons;
struct ServiceStateDisplay;

class TrayWindow : public WindowObject {
public:
    static constexpr const char* window_class = "RYXTRAY";
    // The icon's callback message, registered by this name: a number outside the program's
    // private ones, which the shell cannot key.
    static constexpr const char* callback_message_name = "RYX Client GUI notification icon";

    // What the menu offers besides its fixed items.
    struct MenuChoices {
        bool start;
        bool stop;
        bool start_shield; // Windows will ask, as on the window's buttons
        bool stop_shield;
        bool open_log_file;
        bool start_with_windows;
        bool notify;
        bool minimise_to_tray;
    };
    // Open (the default), Start, Stop, Open log file, Start with Windows, Notify, Minimise,
    // Quit. The caller destroys it.
    // The shield goes on Start and Stop as shield, which stays the caller's.
    static HMENU make_menu(const MenuChoices& choices, HBITMAP shield = nullptr);

    TrayWindow(HINSTANCE instance, MainWindow& main_window, const char* log_file_path);
    ~TrayWindow() override;

    // Makes the window and adds the icon: now, or while the shell refuses it, within a minute.
    bool create();
    LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;

    // Every change the status monitor reports: the icon and tip when the state shows otherwise,
    // and a notification when one is due.
    void show_service_state(DWORD state);
    // The user pressed Start or Stop in the main window.
    void note_own_command();
    // Whether the minimised main window goes to the notification area: the user asked for it,
    // and the icon is there to bring it back.
    bool takes_minimised_window() const;

private:
    void load_icons();
    void add_icon();
    void on_retry_timer();
    void on_icon_event(WORD event, WPARAM anchor);
    void open_main_window();
    void show_menu(POINT at);
    void run_menu_command(UINT command);
    void show_notice(Notice notice);
    void tip_text(char* tip, std::size_t capacity) const;

    MainWindow& main_;
    const char* log_file_path_;
    UINT callback_message_ = 0;
    UINT taskbar_created_ = 0;
    std::unique_ptr<NotifyIcon> icon_;
    std::unique_ptr<StatusIcons> icons_;
    OwnedHandle<HICON> notice_icon_{nullptr, DestroyIcon};
    const ServiceStateDisplay* shown_;
    NotificationRule rule_;
    DWORD state_ = 0; // the last reported
    Notice last_notice_ = Notice::none;
    bool notify_ = true;
    bool minimise_to_tray_ = false;
    bool menu_open_ = false;
    ULONGLONG retry_until_ = 0;
};
