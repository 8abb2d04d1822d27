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
    // to; or, when it did not answer for 10 s, the user has been told so), and this start
    // should end with exit code 0. False when this start now holds the claim, the holder
    // having ended (or none could be had at all).
    bool hand_over_to_running_instance(bool bring_forward = true);
    // Lets the next start run as the session's program, before this one ends with an error.
    void release();

private:
    OwnedHandle<HANDLE> claim_{nullptr, CloseHandle};
    bool held_ = false;
};
