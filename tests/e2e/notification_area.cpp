#include "e2e/notification_area.h"

#include <commctrl.h>

#include "base/owned_handle.h"

namespace {

// A tool's text, read through memory placed in the tooltip's process: the tool's record and,
// right after it, its text's buffer, which comes zeroed.
std::string tool_text(HWND tooltip, HWND tool_window) {
    constexpr std::size_t capacity = 1024;
    DWORD process_id = 0;
    GetWindowThreadProcessId(tooltip, &process_id);
    const OwnedHandle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id),
        CloseHandle);
    auto* const remote =
        static_cast<char*>(VirtualAllocEx(process.get(), nullptr, sizeof(TOOLINFOA) + capacity,
                                          MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = tool_window;
    tool.uId = reinterpret_cast<UINT_PTR>(tool_window); // the tray's tools are their windows
    tool.lpszText = remote + sizeof tool;
    char text[capacity + 1] = {};
    if (remote != nullptr &&
        WriteProcessMemory(process.get(), remote, &tool, sizeof tool, nullptr)) {
        SendMessageA(tooltip, TTM_GETTEXTA, capacity, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process.get(), tool.lpszText, text, capacity, nullptr);
    }
    VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
    return text;
}

HWND tray_window() {
    return FindWindowA("__winex11_standalone_tray", "Wine System Tray");
}

// The tray's tooltips: the icons' tips, or the balloons.
std::vector<HWND> tray_tooltips(bool balloons) {
    std::vector<HWND> found;
    const HWND tray = tray_window();
    for (HWND tip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); tip != nullptr;
         tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) {
        const bool balloon = (GetWindowLongA(tip, GWL_STYLE) & TTS_BALLOON) != 0;
        if (tray != nullptr && GetWindow(tip, GW_OWNER) == tray && balloon == balloons) {
            found.push_back(tip);
        }
    }
    return found;
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

std::string tray_tip(HWND icon) {
    for (const HWND tooltip : tray_tooltips(false)) {
        const std::string text = tool_text(tooltip, icon);
        if (!text.empty()) {
            return text;
        }
    }
    return "";
}

std::string only_tray_tip() {
    const std::vector<HWND> icons = tray_icons();
    return icons.size() == 1 ? tray_tip(icons.front()) : "";
}

std::string tray_balloon() {
    for (const HWND balloon : tray_tooltips(true)) {
        for (const HWND icon : tray_icons()) {
            const std::string text = IsWindowVisible(balloon) ? tool_text(balloon, icon) : "";
            if (!text.empty()) {
                return text;
            }
        }
    }
    return "";
}

void click_tray_icon(HWND icon, bool right_button) {
    const LPARAM at = MAKELPARAM(4, 4);
    PostMessageA(icon, right_button ? WM_RBUTTONDOWN : WM_LBUTTONDOWN,
                 right_button ? MK_RBUTTON : MK_LBUTTON, at);
    PostMessageA(icon, right_button ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
}
