// The status line's icons at one size: the three of the program's own and the system's
// warning icon. Loaded, shown and replaced on the window's thread only.
#pragma once

#include <windows.h>

#include "base/owned_handle.h"
#include "service/service_state_display.h"

class StatusIcons {
public:
    StatusIcons(HINSTANCE instance, int size);

    int size() const { return size_; }
    HICON of(StatusIcon icon) const;

private:
    int size_;
    OwnedHandle<HICON> running_;
    OwnedHandle<HICON> pending_;
    OwnedHandle<HICON> stopped_;
    HICON warning_; // the system's shared icon: never destroyed
};
