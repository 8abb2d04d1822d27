#include "e2e/notification_area.h"

#include <commctrl.h>

#include "e2e/program_driver.h"

namespace {

HWND tray_window() {
    return FindWindowA("__winex11_standalone_tray", "Wine System Tray");
}

// The text of the first of the tray's tooltips, the icons' tips or the shown balloons, that
// has one for this icon; the tray's tools are their windows.
std::string tray_text(HWND icon, bool balloons) {
    const HWND tray = tray_window();
    for (HWND tip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); tip != nullptr;
         tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) {
        const bool balloon = (GetWindowLongA(tip, GWL_STYLE) & TTS_BALLOON) != 0;
        if (tray != nullptr && GetWindow(tip, GW_OWNER) == tray && balloon == balloons &&
            (!balloon || IsWindowVisible(tip))) {
            const std::string text = tool_text(tip, icon, reinterpret_cast<UINT_PTR>(icon));
            if (!text.empty()) {
                return text;
            }
        }
    }
    return "";
}

} // namespace

std::vector<HWND> tray_icons() {
    std::vector<HWND> icons;
    const HWND tray = tray_window();
    for (HWND icon = tray != nullptr ? GetWindow(tray, GW_CHILD) : nullptr; icon != nullptr;
         icon = GetWindow(icon, GW_HWNDNEXT)) {
        if (IsWindowVisible(icon)) {
            icons.push_back(icon);
        }
    }
    return icons;
}

std::string only_tray_tip() {
    const std::vector<HWND> icons = tray_icons();
    return icons.size() == 1 ? tray_text(icons.front(), false) : "";
}

std::string tray_balloon() {
    std::string text;
    for (const HWND icon : tray_icons()) {
        if (!(text = tray_text(icon, true)).empty()) {
            break;
        }
    }
    return text;
}

void click_tray_icon(HWND icon, bool right_button) {
    const LPARAM at = MAKELPARAM(4, 4);
    PostMessageA(icon, right_button ? WM_RBUTTONDOWN : WM_LBUTTONDOWN,
                 right_button ? MK_RBUTTON : MK_LBUTTON, at);
    PostMessageA(icon, right_button ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
}
