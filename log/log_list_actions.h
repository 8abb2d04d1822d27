// What a user does with the Logging list besides reading it: copy rows to the clipboard, select
// them all, and open the whole log in the program the system opens it with.
#pragma once

#include <windows.h>

#include "log/log_list.h"

class LogListActions {
public:
    LogListActions(const LogList& rows, const char* log_file_path)
        : rows_(rows), list_(rows.handle()), log_file_path_(log_file_path) {}

    // Ctrl+C and Ctrl+A on the list; false for any other key.
    bool handle_key(WORD virtual_key) const;
    // The list's menu at a point of the screen, or (-1, -1) from the keyboard: at the focused
    // row then. Runs the chosen command before it returns, or returns it for the page to run
    // (Find, Save log as); 0 when there is none.
    UINT show_menu(HWND owner, LPARAM screen_point) const;

    // The menu as it stands now: Copy for a selection, Open log file and Save log as for a log
    // that exists at a path the shell takes. The caller destroys it.
    HMENU make_menu() const;

    // The selected rows as "Date/Time, tab, entry, CR LF", in one block of the clipboard's,
    // written by a thread of its own: the window answers on, however long the rows.
    void copy_selection() const;
    void select_all() const;

    // Where the menu opens: the point given, or from the keyboard ((-1, -1)) under the focused
    // row when it is in view, else at the list's top-left corner.
    POINT menu_point(LPARAM screen_point) const;

private:
    const LogList& rows_;
    HWND list_;
    const char* log_file_path_;
};

// The whole log in the program the system opens it with, as the list's menu item does; for
// other menus that offer it. Offered only where can_open_log_file says so.
bool can_open_log_file(const char* path);
void open_log_file(HWND owner, const char* path);
