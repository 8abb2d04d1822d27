// What a tab control paints under its pages, kept as a brush: labels, check boxes and group
// boxes on a page draw their text on it instead of on a box of their own.
#pragma once

#include <windows.h>

#include "base/owned_handle.h"

class TabBackground {
public:
    // The brush for a control on a page of the tab control, aligned to where the control sits;
    // the tab control is painted once, on first use after a reset.
    HBRUSH brush_for(HWND control, HWND tab_control, HDC context);
    // The tab control has another size or look: painted again when next needed.
    void reset();
    // What the brush shows halfway down, once made.
    COLORREF colour() const { return colour_; }

private:
    COLORREF colour_ = 0;
    OwnedGdiObject<HBRUSH> brush_{nullptr, DeleteObject};
    OwnedGdiObject<HBITMAP> bitmap_{nullptr, DeleteObject}; // the brush's pattern
};
