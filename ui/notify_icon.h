// The program's icon in the notification area, kept through the shell: added, changed, made to
// show a notification, removed. The shell reports clicks and keys on it to the owner window
// with the callback message.
#pragma once

#include <windows.h>

#include <shellapi.h>

class NotifyIcon {
public:
    // The icon's number among its owner's: the owner has only this one.
    static constexpr UINT id = 1;

    NotifyIcon(HWND owner, UINT callback_message)
        : owner_(owner), callback_message_(callback_message) {}
    NotifyIcon(const NotifyIcon&) = delete;
    NotifyIcon& operator=(const NotifyIcon&) = delete;

    // Adds the icon, reporting in the manner of NOTIFYICON_VERSION_4; false when the shell
    // refuses it (not running yet at logon, say).
    bool add(HICON icon, const char* tip);
    // A new picture and tip for the added icon.
    void change(HICON icon, const char* tip);
    // A notification beside the icon: a title, a text and a large icon.
    void notify(const char* title, const char* text, HICON icon);
    // Asks the shell to drop the icon, whether it still has it or not.
    void remove();
    bool added() const { return added_; }

private:
    NOTIFYICONDATAA data() const;

    HWND owner_;
    UINT callback_message_;
    bool added_ = false;
};

// A system icon size (SM_CXSMICON, SM_CXICON) at the DPI, as the shell draws icons there.
int system_icon_size(int metric, unsigned dpi);
