// The Logging tab page: the client's log as a two-column list, and a Clear button. The rows
// come from the log follower through the main window.
#pragma once

#include <string>
#include <vector>

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

    void add_rows(std::vector<LogRow>&& rows) { rows_.add_rows(std::move(rows)); }

private:
    LRESULT on_command(HWND window, WPARAM wparam, LPARAM lparam);
    LRESULT on_notify(HWND window, WPARAM wparam, LPARAM lparam);
    LRESULT on_context_menu(HWND window, WPARAM wparam, LPARAM lparam);
    // The Entries column takes what the Date/Time column leaves of the list's outer width.
    int entries_width() const;
    HWND list() const;

    std::string log_file_path_;
    LogList rows_;
};
