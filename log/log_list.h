// The Logging page's list as the log fills it: rows added at its end in one quiet go, the
// oldest dropped beyond the row limit, then drawn at once with the newest in view.
#pragma once

#include <windows.h>

#include <vector>

#include "log/log_batch.h"

class LogList {
public:
    explicit LogList(HWND list = nullptr) : list_(list) {}

    // Two steps, each its own message, so that the window answers others between them:
    // turning drawing back on alone can cost Wine's list view some 50 ms, however few the rows.
    void add_rows(const std::vector<LogRow>& rows);
    void draw_added_rows();

private:
    HWND list_;
    bool quiet_ = false; // rows added since drawing was turned off
};
