// One program per user session: a second start hands over to the one that runs.
#pragma once

// True when another start of the program runs in this session: its main window has been
// brought to the front, and this start should end with exit code 0. False when this start is
// the only one (it then holds the session's claim until it ends), or when the other one ends
// or shows no window in time, so that the user always gets a window.
bool hand_over_to_running_instance();
