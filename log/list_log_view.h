// The log shown in a list view: rows through list-view messages sent from the follower's
// thread, and the client's quit reported with the Logging tab brought forward.
#pragma once

#include <windows.h>

#include "log/log_view.h"

class ListLogView : public LogView {
public:
    // Sent to the list's parent with a work item as lParam: the parent runs it on its own
    // thread and answers work_done.
    static constexpr UINT run_work_message = WM_APP + 1;
    static constexpr LRESULT work_done = 1;

    explicit ListLogView(HWND list) : list_(list) {}

    int insert_row(int position, const char* date_time) override;
    void set_entry(int row, const char* entry) override;
    void scroll(int pixels) override;
    void delete_first_row() override;
    void show_stop_warning() override;
    // One cross-thread message for many rows: the rows' own messages then cost a call each.
    void in_one_go(const std::function<void()>& work) override;

private:
    // Runs work where the list's messages cost least: on the thread that owns the list.
    void on_list_thread(const std::function<void()>& work);

    HWND list_;
    bool quiet_ = false; // inside a batch, on the list's own thread
    int held_scroll_ = 0;
};
