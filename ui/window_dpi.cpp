#include "ui/window_dpi.h"

#include "base/window_dc.h"
#include "ui/dpi_scale.h"

namespace {

using DpiForWindow = UINT(WINAPI*)(HWND);

// Windows 10 1607 and later; before that every window has the system's DPI.
DpiForWindow dpi_for_window() {
    static const DpiForWindow function = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    return function;
}

unsigned system_dpi() {
    const int dpi = GetDeviceCaps(WindowDc(nullptr).get(), LOGPIXELSY);
    return dpi > 0 ? static_cast<unsigned>(dpi) : 0;
}

} // namespace

unsigned window_dpi(HWND window) {
    if (window != nullptr && dpi_for_window() != nullptr) {
        return sane_dpi(dpi_for_window()(window));
    }
    return sane_dpi(system_dpi());
}
