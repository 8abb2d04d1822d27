// Work that must not hold up the window, such as a call that may wait for another process:
// run once on a thread of its own, its outcome (a Win32 error code, 0 for success) posted to
// the window as a private message when it is done. The thread touches no window.
#pragma once

#include <windows.h>

#include <functional>

// False when no thread could be made: the work was not done, and nothing will be posted.
bool run_in_background(std::function<DWORD()> work, HWND window, UINT message);
