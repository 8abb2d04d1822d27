// The system's message font at one DPI, owned by a top-level window for itself and its
// controls.
#pragma once

#include <windows.h>

#include "base/owned_handle.h"

class WindowFont {
public:
    WindowFont() = default;
    explicit WindowFont(unsigned dpi);

    // The default GUI font when the system's message font could not be had.
    HFONT get() const;

private:
    OwnedGdiObject<HFONT> font_{nullptr, DeleteObject};
};
