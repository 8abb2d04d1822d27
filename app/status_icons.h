// The status line's icons at one size: the three of the program's own and the system's
// warning icon.
#pragma once

#include <windows.h>

#include "service/service_state_display.h"

class StatusIcons {
public:
    StatusIcons(HINSTANCE instance, int size);
    ~StatusIcons();
    StatusIcons(const StatusIcons&) = delete;
    StatusIcons& operator=(const StatusIcons&) = delete;

    int size() const { return size_; }
    HICON of(StatusIcon icon) const;

private:
    int size_;
    HICON running_;
    HICON pending_;
    HICON stopped_;
    HICON warning_; // shared by the system: never destroyed
};
