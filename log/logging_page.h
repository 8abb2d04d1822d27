// The Logging tab page: the client's log as a two-column list, and a Clear button. The rows
// come from the log follower through the main window.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include <commctrl.h>

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

private:
    LRESULT on_command(HWND window, WPARAM wparam, LPARAM lparam);
    LRESULT on_notify(HWND window, WPARAM wparam, LPARAM lparam);
    LRESULT on_context_menu(HWND window, WPARAM wparam, LPARAM lparam);
    // The Date/Time column as wide as the widest date and its header, the Entries column the
    // rest of the list's inside.
    void fit_columns();
    void give_tip(NMLVGETINFOTIPA& tip) const;
    HWND list() const;

    std::string log_file_path_;
    LogList rows_;
};
