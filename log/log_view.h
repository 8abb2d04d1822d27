// What the log reader needs from the window that shows the log: the rows of a list and
// the warning box. The program implements it with list-view messages.
#pragma once

#include <functional>

class LogView {
public:
    virtual ~LogView() = default;

    // Inserts a row at position with its Date/Time text; the row's actual position, or a
    // negative number when the list refused it.
    virtual int insert_row(int position, const char* date_time) = 0;
    virtual void set_entry(int row, const char* entry) = 0;
    // Moves the view down by this many pixels.
    virtual void scroll(int pixels) = 0;
    virtual void delete_first_row() = 0;
    // Tells the user that the client quit and stopped the service; returns once dismissed.
    virtual void show_stop_warning() = 0;

    // Runs work that sends many rows where the list's messages cost least; a list owned by
    // another thread takes the whole of it in one go there.
    virtual void in_one_go(const std::function<void()>& work) { work(); }
};
