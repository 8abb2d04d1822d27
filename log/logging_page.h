// The Logging tab page: the client's log as a two-column list, a Clear button, a find field
// that Ctrl+F opens above the list, and a note under it for what the page has to say (a find's
// outcome, a save's progress). The rows come from the log follower through the main window.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <string>
#include <vector>

#include "base/owned_handle.h"
#include "log/log_list.h"
#include "ui/tab_dialog.h"

class LoggingPage : public TabDialog {
public:
    LoggingPage(HINSTANCE instance, HWND parent, const RECT* rectangle, unsigned dpi, HFONT font,
                const char* log_file_path);

    // Makes the page, its button and list; false when the list refuses a column, and then no
    // log is to be followed into it.
    bool create() override;
    LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
    void lay_out(const RECT& rectangle, unsigned dpi, HFONT font) override;

    // The follower's rows at the end of the list; a date wider than any before widens its
    // column.
    void add_rows(std::vector<LogRow>&& rows);
    // The page's keys from wherever the focus is on it: Ctrl+F, F3 and Shift+F3, Ctrl+S, and
    // Enter and Esc in the find field. True when the key was one of them and is done.
    bool handle_key(const MSG& message);
    // A copy of the log on its way (from the main window, which the copy's thread tells).
    void show_save_progress(int percent);
    void finish_save(DWORD outcome);

private:
    LRESULT on_command(HWND window, WPARAM wparam, LPARAM lparam);
    LRESULT on_notify(HWND window, WPARAM wparam, LPARAM lparam);
    LRESULT on_context_menu(HWND window, WPARAM wparam, LPARAM lparam);
    LRESULT draw_row(NMLVCUSTOMDRAW& draw);
    // The Date/Time column as wide as the widest date and its header, the Entries column the
    // rest of the list's inside.
    void fit_columns();
    // The list under the find field while it shows, else where the table puts it.
    void place_list();
    // The stop line's row stands out: a bold font and the warning icon, at the page's DPI.
    void make_stop_look();
    void give_tip(NMLVGETINFOTIPA& tip) const;
    void show_find(bool shown);
    // The next (previous) row that holds the find field's text, selected and in view.
    void find(bool backwards);
    void save_log_as();
    // The system's Save dialog, proposing "ryxc-YYYYMMDD-HHMM.log" in the user's Documents.
    bool ask_save_target(char* target, std::size_t capacity) const;
    void set_note(const char* text);
    HWND list() const;

    std::string log_file_path_;
    LogList rows_;
    bool find_shown_ = false;
    bool saving_ = false;
    ULONGLONG save_started_ = 0;
    // A stop line's row stands out in it, with the warning icon.
    OwnedGdiObject<HFONT> bold_font_{nullptr, DeleteObject};
    OwnedHandle<HIMAGELIST, BOOL> warning_images_{nullptr, ImageList_Destroy};
};
