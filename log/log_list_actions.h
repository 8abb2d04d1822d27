// What a user does with the Logging list besides reading it: copy rows to the clipboard, select
// them all, and open the whole log in the program the system opens it with.
#pragma once

#include <windows.h>

class LogListActions {
public:
    LogListActions(HWND list, const char* log_file_path)
        : list_(list), log_file_path_(log_file_path) {}

    // Ctrl+C and Ctrl+A on the list; false for any other key.
    bool handle_key(WORD virtual_key) const;
    // The list's menu at a point of the screen, or (-1, -1) from the keyboard: at the focused
    // row then. Runs the chosen command before it returns.
    void show_menu(HWND owner, LPARAM screen_point) const;

    // The menu as it stands now: Copy for a selection, Open log file for a log that exists at
    // a path the shell takes. The caller destroys it.
    HMENU make_menu() const;

    // The selected rows as "Date/Time, tab, entry, CR LF", in both text formats.
    void copy_selection() const;
    void select_all() const;

private:
    POINT menu_point(LPARAM screen_point) const;

    HWND list_;
    const char* log_file_path_;
};

// The whole log in the program the system opens it with, as the list's menu item does; for
// other menus that offer it. Offered only where can_open_log_file says so.
bool can_open_log_file(const char* path);
void open_log_file(HWND owner, const char* path);
