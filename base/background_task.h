// Work that must not hold up the window, such as a call that may wait for another process or
// move much data through the system: run once on a thread of its own, which touches no window
// and tells the window (if at all) by a posted message.
#pragma once

#include <functional>

// False when no thread could be made: the work was not done.
bool run_in_background(std::function<void()> work);
