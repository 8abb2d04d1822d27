// The Logging tab page: the client's log as a two-column list, and a Clear button. Its
// log follower fills the list from a thread of its own.
#pragma once

#include "ui/tab_dialog.h"

class LoggingPage : public TabDialog {
public:
    LoggingPage(HINSTANCE instance, HWND parent, const RECT* rectangle, unsigned dpi, HFONT font);

    // Makes the page, its button and list, and starts the follower; false when the list
    // refuses a column, and then no follower runs.
    bool create() override;
    LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
    void lay_out(const RECT& rectangle, unsigned dpi, HFONT font) override;

private:
    // The Entries column takes what the Date/Time column leaves of the list's outer width.
    int entries_width() const;
};
