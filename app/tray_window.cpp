#include "app/tray_window.h"

#include "ui/shield_bitmap.h"

#include <shellapi.h>

#include <cstdio>

#include "app/main_window.h"
#include "app/start_with_windows.h"
#include "app/user_settings.h"
#include "base/loaded_string.h"
#include "log/log_list_actions.h"
#include "res/resource.h"
#include "service/service_state_display.h"
#include "ui/notify_icon.h"
#include "ui/status_icons.h"
#include "ui/window_dpi.h"

namespace {

// The shell may not run yet at logon: the icon is tried again every two seconds for a minute.
constexpr UINT_PTR retry_timer = 1;
constexpr UINT_PTR quiet_timer = 2; // a change waits for the quiet time's end
constexpr UINT retry_ms = 2000;
constexpr ULONGLONG retry_for_ms = 60000;

constexpr RECT nowhere = {0, 0, 0, 0};

void append_item(HMENU menu, UINT command, unsigned text_id, UINT flags = 0) {
    const LoadedString text(text_id);
    AppendMenuA(menu, MF_STRING | flags, command, text.c_str());
}

UINT enabled_if(bool enabled) {
    return enabled ? MF_ENABLED : MF_GRAYED;
}

UINT checked_if(bool checked) {
    return checked ? MF_CHECKED : MF_UNCHECKED;
}

} // namespace

HMENU TrayWindow::make_menu(const MenuChoices& choices, HBITMAP shield) {
    const HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        return nullptr;
    }
    append_item(menu, IDM_TRAY_OPEN, IDS_TRAY_OPEN);
    append_item(menu, IDM_TRAY_START, IDS_START, enabled_if(choices.start));
    append_item(menu, IDM_TRAY_STOP, IDS_STOP, enabled_if(choices.stop));
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_BITMAP;
    item.hbmpItem = shield;
    if (choices.start_shield) {
        SetMenuItemInfoA(menu, IDM_TRAY_START, FALSE, &item);
    }
    if (choices.stop_shield) {
        SetMenuItemInfoA(menu, IDM_TRAY_STOP, FALSE, &item);
    }
    append_item(menu, IDM_OPEN_LOG_FILE, IDS_OPEN_LOG_FILE, enabled_if(choices.open_log_file));
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    append_item(menu, IDM_TRAY_START_WITH_WINDOWS, IDS_TRAY_START_WITH_WINDOWS,
                checked_if(choices.start_with_windows));
    append_item(menu, IDM_TRAY_NOTIFY, IDS_TRAY_NOTIFY, checked_if(choices.notify));
    append_item(menu, IDM_TRAY_MINIMISE, IDS_TRAY_MINIMISE, checked_if(choices.minimise_to_tray));
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    append_item(menu, IDM_TRAY_QUIT, IDS_TRAY_QUIT);
    SetMenuDefaultItem(menu, IDM_TRAY_OPEN, FALSE);
    return menu;
}

TrayWindow::TrayWindow(HINSTANCE instance, MainWindow& main_window, const char* log_file_path)
    : WindowObject(window_class, nullptr, WS_POPUP, &nowhere, instance), main_(main_window),
      log_file_path_(log_file_path), shown_(&ServiceStateDisplay::of(0)) {
    // Never shown, never in the taskbar: it only receives what the shell sends.
    extended_style_ = WS_EX_TOOLWINDOW;
}

TrayWindow::~TrayWindow() = default; // the base destroys the window, which removes the icon

bool TrayWindow::create() {
    if (!WindowObject::create()) {
        return false;
    }
    callback_message_ = RegisterWindowMessageA(callback_message_name);
    icon_ = std::make_unique<NotifyIcon>(window_, callback_message_);
    taskbar_created_ = RegisterWindowMessageA("TaskbarCreated");
    // A program run as administrator hears the user's shell start again only when it says so.
    ChangeWindowMessageFilterEx(window_, taskbar_created_, MSGFLT_ALLOW, nullptr);
    notify_ = UserSettings::read(UserSettings::notify, true);
    minimise_to_tray_ = UserSettings::read(UserSettings::minimise_to_tray, false);
    load_icons();
    add_icon();
    return true;
}

void TrayWindow::load_icons() {
    icons_ = std::make_unique<StatusIcons>(instance_,
                                           system_icon_size(SM_CXSMICON, window_dpi(window_)));
}

void TrayWindow::tip_text(char* tip, std::size_t capacity) const {
    const LoadedString title(IDS_APP_TITLE);
    const LoadedString word(shown_->word_id);
    std::snprintf(tip, capacity, "%s - %s", title.c_str(), word.c_str());
}

void TrayWindow::add_icon() {
    char tip[LoadedString::capacity * 2];
    tip_text(tip, sizeof tip);
    if (icon_->add(icons_->of(shown_->icon), tip)) {
        KillTimer(window_, retry_timer);
        retry_until_ = 0;
        return;
    }
    if (retry_until_ == 0) {
        retry_until_ = GetTickCount64() + retry_for_ms;
        SetTimer(window_, retry_timer, retry_ms, nullptr);
    }
}

void TrayWindow::on_retry_timer() {
    add_icon();
    if (icon_->added() || GetTickCount64() < retry_until_) {
        return;
    }
    KillTimer(window_, retry_timer);
    retry_until_ = 0;
    // No icon to bring a hidden window back with: the window then shows itself.
    if (!IsWindowVisible(main_.handle())) {
        open_main_window();
    }
}

void TrayWindow::show_service_state(DWORD state) {
    state_ = state;
    const ServiceStateDisplay& row = ServiceStateDisplay::of(state);
    const ULONGLONG now = GetTickCount64();
    const Notice notice = rule_.report(state, now, notify_);
    // The monitor reports only changes: a change the quiet time holds back is asked about
    // again when it ends.
    const unsigned long long wait = rule_.ask_again_in(now);
    if (wait > 0) {
        SetTimer(window_, quiet_timer, static_cast<UINT>(wait), nullptr);
    } else {
        KillTimer(window_, quiet_timer);
    }
    if (&row != shown_) {
        shown_ = &row;
        char tip[LoadedString::capacity * 2];
        tip_text(tip, sizeof tip);
        icon_->change(icons_->of(row.icon), tip);
    }
    if (notice != Notice::none) {
        show_notice(notice);
    }
}

void TrayWindow::show_notice(Notice notice) {
    last_notice_ = notice;
    if (!notice_icon_.is_open()) {
        const int size = system_icon_size(SM_CXICON, window_dpi(window_));
        notice_icon_.reset(static_cast<HICON>(
            LoadImageA(instance_, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, size, size, 0)));
    }
    const LoadedString title(IDS_APP_TITLE);
    const LoadedString text(notice == Notice::stopped ? IDS_NOTIFY_STOPPED : IDS_NOTIFY_RUNNING);
    icon_->notify(title.c_str(), text.c_str(), notice_icon_.get());
}

void TrayWindow::note_own_command() {
    rule_.own_command(GetTickCount64());
}

bool TrayWindow::takes_minimised_window() const {
    return minimise_to_tray_ && icon_ != nullptr && icon_->added();
}

void TrayWindow::open_main_window() {
    const HWND main = main_.handle();
    if (IsIconic(main) || !IsWindowVisible(main)) {
        ShowWindow(main, SW_RESTORE);
    }
    // A box or the Advanced window over the main window comes forward with it.
    SetForegroundWindow(GetLastActivePopup(main));
}

void TrayWindow::show_menu(POINT at) {
    // The shell reports another click while the menu is up: one menu at a time.
    if (menu_open_) {
        return;
    }
    const HWND main = main_.handle();
    const MenuChoices choices = {IsWindowEnabled(GetDlgItem(main, IDC_START)) != FALSE,
                                 IsWindowEnabled(GetDlgItem(main, IDC_STOP)) != FALSE,
                                 main_.start_needs_elevation(),
                                 main_.stop_needs_elevation(),
                                 can_open_log_file(log_file_path_),
                                 StartWithWindows::is_on(),
                                 notify_,
                                 minimise_to_tray_};
    const OwnedGdiObject<HBITMAP> shield(shield_bitmap(GetSystemMetrics(SM_CXSMICON)),
                                         DeleteObject);
    const OwnedHandle<HMENU, BOOL> menu(make_menu(choices, shield.get()), DestroyMenu);
    if (!menu.is_open()) {
        return;
    }
    menu_open_ = true;
    // In front, so that a click elsewhere closes the menu; the posted message lets the menu's
    // loop end before the next click on the icon.
    SetForegroundWindow(window_);
    const UINT align = GetSystemMetrics(SM_MENUDROPALIGNMENT) != 0 ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | align, at.x,
                       at.y, 0, window_, nullptr));
    PostMessageA(window_, WM_NULL, 0, 0);
    menu_open_ = false;
    run_menu_command(command);
}

void TrayWindow::run_menu_command(UINT command) {
    const HWND main = main_.handle();
    switch (command) {
    case IDM_TRAY_OPEN:
        open_main_window();
        break;
    case IDM_TRAY_START:
    case IDM_TRAY_STOP: {
        // Exactly the button's click, only while the button could be clicked.
        const int id = command == IDM_TRAY_START ? IDC_START : IDC_STOP;
        const HWND button = GetDlgItem(main, id);
        if (IsWindowEnabled(button)) {
            SendMessageA(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
        }
        break;
    }
    case IDM_OPEN_LOG_FILE:
        open_log_file(main, log_file_path_);
        break;
    case IDM_TRAY_START_WITH_WINDOWS:
        if (StartWithWindows::is_on()) {
            StartWithWindows::turn_off();
        } else {
            StartWithWindows::turn_on(); // over another program's value, as the user asked
        }
        break;
    case IDM_TRAY_NOTIFY:
        notify_ = !notify_;
        UserSettings::write(UserSettings::notify, notify_);
        break;
    case IDM_TRAY_MINIMISE:
        minimise_to_tray_ = !minimise_to_tray_;
        UserSettings::write(UserSettings::minimise_to_tray, minimise_to_tray_);
        break;
    case IDM_TRAY_QUIT:
        PostMessageA(main, WM_CLOSE, 0, 0); // asks, as the close box does
        break;
    default:
        break; // dismissed
    }
}

void TrayWindow::on_icon_event(WORD event, WPARAM anchor) {
    switch (event) {
    case NIN_SELECT:
    case NIN_KEYSELECT:
        open_main_window();
        break;
    case WM_CONTEXTMENU:
        show_menu({static_cast<short>(LOWORD(anchor)), static_cast<short>(HIWORD(anchor))});
        break;
    case NIN_BALLOONUSERCLICK:
        // What stopped it is in the log.
        if (last_notice_ == Notice::stopped) {
            main_.show_logging_tab();
        }
        open_main_window();
        break;
    default:
        break;
    }
}

LRESULT TrayWindow::handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == callback_message_ && callback_message_ != 0) {
        if (HIWORD(lparam) == NotifyIcon::id) {
            on_icon_event(LOWORD(lparam), wparam);
        }
        return 0;
    }
    if (message == taskbar_created_ && taskbar_created_ != 0) {
        // A new shell, or the taskbar at a new DPI: whatever it kept goes, the icon comes back
        // at the size it now wants.
        icon_->remove();
        load_icons();
        add_icon();
        return 0;
    }
    switch (message) {
    case WM_TIMER:
        if (wparam == retry_timer) {
            on_retry_timer();
        } else if (wparam == quiet_timer) {
            show_service_state(state_);
        }
        return 0;
    case WM_ENDSESSION:
        // The session ends without the window being destroyed.
        if (wparam != FALSE && icon_ != nullptr) {
            icon_->remove();
        }
        return 0;
    case WM_DESTROY:
        KillTimer(window, retry_timer);
        KillTimer(window, quiet_timer);
        if (icon_ != nullptr) {
            icon_->remove();
        }
        return 0;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}
