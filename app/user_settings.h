// The program's own choices for one user, kept in the registry under HKEY_CURRENT_USER:
// whether the tunnel's starting and stopping is notified, and whether minimising hides the
// window in the notification area.
#pragma once

class UserSettings {
public:
    static constexpr const char* key = "Software\\Quorix\\RYX Client GUI";
    static constexpr const char* notify = "Notify";
    static constexpr const char* minimise_to_tray = "MinimiseToTray";

    // The value as a switch: a REG_DWORD of four bytes, on unless 0. Missing, unreadable, or of
    // another type or size, it is the default.
    static bool read(const char* name, bool default_value);
    // False when the key cannot be made or the value not written.
    static bool write(const char* name, bool on);
};
