// Where the keyboard's focus was in a top-level window when it lost the activation, given back
// when the window is active again: after a box, another program, or a window it owns. A window
// that is not a dialog would otherwise keep the focus on itself and leave it on no control.
#pragma once

#include <windows.h>

class FocusMemory {
public:
    // WM_ACTIVATE: keeps the focus on leaving, gives it back on coming back (or to fallback
    // when the control kept can take it no more). The message's answer.
    LRESULT on_activate(HWND window, WPARAM state, HWND fallback);
    // Where the focus is to go when the window is next active.
    void remember(HWND control) { control_ = control; }
    HWND remembered() const { return control_; }

private:
    HWND control_ = nullptr;
};

// Whether a control can take the focus now: shown, enabled, and with every parent so.
bool can_take_focus(HWND control);
