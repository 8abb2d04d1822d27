// One program per user session: the first start claims the session, a later one hands over to
// the program that holds the claim.
#pragma once

#include <windows.h>

#include "base/owned_handle.h"

class SessionClaim {
public:
    // In the session's own namespace: another user, or a remote desktop, starts a program of
    // its own.
    static constexpr const char* name = "Local\\Quorix RYX Client GUI";

    SessionClaim() = default;

    // True when another start of the program holds the claim: its main window has been
    // brought to the front (shown if it was hidden in the notification area, unless told not
    // to), and this start should end with exit code 0. False when this start now holds the
    // claim (or none could be had, or the holder made no window in time), so that the user
    // always gets a window.
    bool hand_over_to_running_instance(bool bring_forward = true);
    // Lets the next start run as the session's program, before this one ends with an error.
    void release();

private:
    OwnedHandle<HANDLE> claim_{nullptr, CloseHandle};
    bool held_ = false;
};
