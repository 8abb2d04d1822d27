// Sizes in 96-DPI units, the units of every window size and control table of the program,
// brought to the DPI a window is shown at. Free of any window system.
#pragma once

constexpr unsigned base_dpi = 96; // 100 %: Windows scales no smaller
constexpr unsigned max_dpi = 480; // 500 %: anything above is a bad report

// A DPI as the system reports it, made usable: within 96..480, so 0 (unknown) and anything
// smaller is 96, anything above 480 is 480.
unsigned sane_dpi(unsigned reported);

// value * dpi / 96, rounded half away from zero as the system's MulDiv rounds.
int scale_to_dpi(int value, unsigned dpi);
