#include "e2e/gui_session.h"

#include <commctrl.h>

#include "res/resource.h"

namespace {

constexpr DWORD start_timeout_ms = 20000;
constexpr DWORD step_timeout_ms = 10000;
constexpr DWORD poll_interval_ms = 20;

std::string program() {
    return "\"" + executable_directory() + "\\ryxgui.exe\"";
}

bool send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, message, wparam, lparam, SMTO_NORMAL, step_timeout_ms,
                               &result) != 0;
}

HWND config_page_of(HWND tabs) {
    for (HWND page = FindWindowExA(tabs, nullptr, "TabDialog", nullptr); page != nullptr;
         page = FindWindowExA(tabs, page, "TabDialog", nullptr)) {
        if (GetDlgItem(page, IDC_SERVER) != nullptr) {
            return page;
        }
    }
    return nullptr;
}

HWND other_page_of(HWND tabs, HWND config_page) {
    for (HWND page = FindWindowExA(tabs, nullptr, "TabDialog", nullptr); page != nullptr;
         page = FindWindowExA(tabs, page, "TabDialog", nullptr)) {
        if (page != config_page) {
            return page;
        }
    }
    return nullptr;
}

} // namespace

GuiSession::GuiSession(const std::string& config, const std::string& default_config) {
    write_bytes(dir_.file("ryxc.conf"), config);
    if (!default_config.empty()) {
        write_bytes(dir_.file("ryxc.conf.default"), default_config);
    }
    if (!RegistryFixture::set_install_dir(dir_.path())) {
        return;
    }
    driver_ = std::make_unique<ProgramDriver>(program());
    main_ = driver_->wait_for_window("DIZURO", nullptr, start_timeout_ms);
    tabs_ = FindWindowExA(main_, nullptr, WC_TABCONTROLA, nullptr);
    const HWND page = config_page_of(tabs_);
    if (page != nullptr && wait_until([page] { return IsWindowVisible(page) != FALSE; })) {
        page_ = page;
    }
}

HWND GuiSession::open_advanced() const {
    if (!click(control(IDC_ADVANCED))) {
        return nullptr;
    }
    const HWND window = driver_->wait_for_window("AdvancedDialog", nullptr, step_timeout_ms);
    if (window != nullptr) {
        advanced_ = window;
    }
    return window;
}

HWND GuiSession::advanced_control(int id) const {
    const HWND direct = GetDlgItem(advanced_, id);
    return direct != nullptr ? direct : GetDlgItem(GetDlgItem(advanced_, IDC_PREFIX_GROUP), id);
}

bool GuiSession::switch_tab_and_back() const {
    // The arrow keys move the tab control's selection with the change notifications that
    // switch the pages, exactly as a click on a tab does.
    const HWND logging = other_page_of(tabs_, page_);
    PostMessageA(tabs_, WM_KEYDOWN, VK_RIGHT, 0);
    if (!wait_until([&] { return !is_visible(page_) && is_visible(logging); })) {
        return false;
    }
    PostMessageA(tabs_, WM_KEYDOWN, VK_LEFT, 0);
    return wait_until([&] { return is_visible(page_) && !is_visible(logging); });
}

HWND GuiSession::wait_for_box() const {
    HWND box = nullptr;
    wait_until([&] {
        box = driver_->wait_for_window("#32770", nullptr, 0);
        return box != nullptr && GetWindow(box, GW_OWNER) == main_;
    });
    return box != nullptr && GetWindow(box, GW_OWNER) == main_ ? box : nullptr;
}

bool GuiSession::no_box_shown() const {
    return driver_->wait_for_window("#32770", nullptr, 0) == nullptr;
}

bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    while (!condition()) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(poll_interval_ms);
    }
    return true;
}

bool click(HWND button) {
    return button != nullptr && send(button, BM_CLICK, 0, 0);
}

bool post_click(HWND button) {
    return PostMessageA(button, BM_CLICK, 0, 0) != FALSE;
}

bool set_text(HWND control, const std::string& text) {
    return control != nullptr &&
           send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool is_checked(HWND box) {
    return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool is_enabled(HWND window) {
    return IsWindowEnabled(window) != FALSE;
}

bool is_visible(HWND window) {
    return IsWindowVisible(window) != FALSE;
}

namespace {

GUITHREADINFO thread_info_of(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
        return GUITHREADINFO{};
    }
    return info;
}

} // namespace

HWND focus_in_thread_of(HWND window) {
    return thread_info_of(window).hwndFocus;
}

HWND active_in_thread_of(HWND window) {
    return thread_info_of(window).hwndActive;
}

RECT rect_in_parent(HWND child) {
    RECT area = {};
    GetWindowRect(child, &area);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&area), 2);
    return area;
}
