// The DPI a window is shown at, asked of the system in a way every supported Windows answers.
#pragma once

#include <windows.h>

// The window's DPI (per monitor where the system knows it); with no window, the system's.
// Always within 96..480 (see sane_dpi).
unsigned window_dpi(HWND window);
