#include "ui/notify_icon.h"

#include <shellapi.h>

#include "base/bounded_text.h"
#include "base/system_function.h"
#include "ui/dpi_scale.h"

namespace {

// Loaded when the icon is first added, after the window is painted: not by every start.
bool shell_notify_icon(DWORD message, NOTIFYICONDATAA& data) {
    using ShellNotifyIcon = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);
    static const auto function =
        system_function<ShellNotifyIcon>("shell32.dll", "Shell_NotifyIconA");
    return function != nullptr && function(message, &data) != FALSE;
}

} // namespace

NOTIFYICONDATAA NotifyIcon::data() const {
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof data; // the Vista layout, with the balloon's own icon
    data.hWnd = owner_;
    data.uID = id;
    return data;
}

bool NotifyIcon::add(HICON icon, const char* tip) {
    NOTIFYICONDATAA added = data();
    // Version 4 shows the standard tip only when asked to.
    added.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    added.uCallbackMessage = callback_message_;
    added.hIcon = icon;
    copy_text(added.szTip, sizeof added.szTip, tip);
    if (!shell_notify_icon(NIM_ADD, added)) {
        return false;
    }
    added.uVersion = NOTIFYICON_VERSION_4;
    shell_notify_icon(NIM_SETVERSION, added);
    added_ = true;
    return true;
}

void NotifyIcon::change(HICON icon, const char* tip) {
    if (!added_) {
        return;
    }
    NOTIFYICONDATAA changed = data();
    changed.uFlags = NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    changed.hIcon = icon;
    copy_text(changed.szTip, sizeof changed.szTip, tip);
    shell_notify_icon(NIM_MODIFY, changed);
}

void NotifyIcon::notify(const char* title, const char* text, HICON icon) {
    if (!added_) {
        return;
    }
    NOTIFYICONDATAA notice = data();
    notice.uFlags = NIF_INFO;
    copy_text(notice.szInfoTitle, sizeof notice.szInfoTitle, title);
    copy_text(notice.szInfo, sizeof notice.szInfo, text);
    // Held back by the system while the user presents or has just logged on.
    notice.dwInfoFlags =
        NIIF_USER | NIIF_RESPECT_QUIET_TIME | (icon != nullptr ? NIIF_LARGE_ICON : 0);
    notice.hBalloonIcon = icon;
    shell_notify_icon(NIM_MODIFY, notice);
}

void NotifyIcon::remove() {
    NOTIFYICONDATAA removed = data();
    shell_notify_icon(NIM_DELETE, removed);
    added_ = false;
}

int system_icon_size(int metric, unsigned dpi) {
    // Windows 10 1607 and later; before that the system's DPI is every window's.
    using MetricsForDpi = int(WINAPI*)(int, UINT);
    static const auto for_dpi = reinterpret_cast<MetricsForDpi>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "GetSystemMetricsForDpi")));
    const int size = for_dpi != nullptr ? for_dpi(metric, dpi) : GetSystemMetrics(metric);
    return size > 0 ? size : scale_to_dpi(metric == SM_CXICON ? 32 : 16, dpi);
}
