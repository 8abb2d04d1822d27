// Base of the pages inside the main window's tab control: hidden children of the tab
// control, switched with activate and deactivate, each with its table of controls.
#pragma once

#include <vector>

#include "ui/control_table.h"
#include "ui/tab_background.h"
#include "ui/window_object.h"

// How far apart in lightness (0..255) text and background must be to read.
constexpr int readable_difference = 96;

// The colour to write in on a background.
COLORREF readable_on(COLORREF background);

class TabDialog : public WindowObject {
public:
    // The rectangle is in the tab control's client coordinates and is taken as it is; the
    // controls are made for the DPI, in the font.
    TabDialog(HINSTANCE instance, HWND parent, const RECT* rectangle, const ControlTable& controls,
              unsigned dpi, HFONT font);

    // Makes the page window and its controls; a page's own create calls this first.
    virtual bool create();
    // Moves the page to the rectangle and lays its controls out for the DPI.
    virtual void lay_out(const RECT& rectangle, unsigned dpi, HFONT font);

    // Both return whether the page was visible before the call.
    bool activate();
    bool deactivate();

    // The controls the Tab key stops at, in reading order; the first of them, or null.
    void add_tab_stops(std::vector<HWND>& stops) const;
    HWND first_control() const;

protected:
    // The answer to WM_CTLCOLORSTATIC: a label, check box or group box draws its text in the
    // system's colour on what the tab control shows under the page (with visual styles), or on
    // the system's dialog colour (without, as in high contrast).
    LRESULT control_background(HWND control, UINT message, WPARAM wparam, LPARAM lparam);

    HINSTANCE page_instance_;
    ControlTable controls_;
    unsigned dpi_;
    HFONT font_;

private:
    TabBackground background_;
};
