#include "e2e/gui_session.h"

#include <commctrl.h>

#include "res/resource.h"

namespace {

constexpr DWORD start_timeout_ms = 20000;
constexpr DWORD step_timeout_ms = 10000;

bool send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, message, wparam, lparam, SMTO_NORMAL, step_timeout_ms,
                               &result) != 0;
}

} // namespace

Installation::Installation(const std::string& config, const std::string& default_config) {
    write_bytes(dir.file("ryxc.conf"), config);
    if (!default_config.empty()) {
        write_bytes(dir.file("ryxc.conf.default"), default_config);
    }
    RegistryFixture::set_install_dir(dir.path());
}

GuiSession::GuiSession() {
    start();
}

GuiSession::GuiSession(const std::string& config, const std::string& default_config)
    : install_(std::make_unique<Installation>(config, default_config)) {
    start();
}

void GuiSession::start() {
    driver_ = std::make_unique<ProgramDriver>("\"" + executable_directory() + "\\ryxgui.exe\"");
    main_ = driver_->wait_for_window("DIZURO", nullptr, start_timeout_ms);
    tabs_ = FindWindowExA(main_, nullptr, WC_TABCONTROLA, nullptr);
    for (HWND page = FindWindowExA(tabs_, nullptr, "TabDialog", nullptr); page != nullptr;
         page = FindWindowExA(tabs_, page, "TabDialog", nullptr)) {
        (GetDlgItem(page, IDC_SERVER) != nullptr ? page_ : logging_) = page;
    }
    if (page_ != nullptr && !wait_until([this] { return IsWindowVisible(page_) != FALSE; })) {
        page_ = nullptr;
    }
}

HWND GuiSession::log_list() const {
    return GetDlgItem(logging_, IDC_LOG_LIST);
}

HWND GuiSession::open_advanced() const {
    if (!click(control(IDC_ADVANCED))) {
        return nullptr;
    }
    const HWND window = driver_->wait_for_window("AdvancedDialog", nullptr, step_timeout_ms);
    advanced_ = window != nullptr ? window : advanced_;
    return window;
}

HWND GuiSession::advanced_control(int id) const {
    const HWND direct = GetDlgItem(advanced_, id);
    return direct != nullptr ? direct : GetDlgItem(GetDlgItem(advanced_, IDC_PREFIX_GROUP), id);
}

bool GuiSession::switch_tab_and_back() const {
    // The arrow keys move the tab control's selection with the change notifications that
    // switch the pages, exactly as a click on a tab does.
    PostMessageA(tabs_, WM_KEYDOWN, VK_RIGHT, 0);
    if (!wait_until([&] { return !IsWindowVisible(page_) && IsWindowVisible(logging_); })) {
        return false;
    }
    PostMessageA(tabs_, WM_KEYDOWN, VK_LEFT, 0);
    return wait_until([&] { return IsWindowVisible(page_) && !IsWindowVisible(logging_); });
}

HWND GuiSession::wait_for_box(DWORD timeout_ms) const {
    HWND box = nullptr;
    const bool shown = wait_until(
        [&] {
            box = driver_->wait_for_window("#32770", nullptr, 0);
            return box != nullptr && GetWindow(box, GW_OWNER) == main_;
        },
        timeout_ms);
    return shown ? box : nullptr;
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
        Sleep(20);
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

bool dismiss(HWND box) {
    return press_button(box, IDOK) && wait_until([box] { return !IsWindowVisible(box); });
}

GUITHREADINFO thread_info_of(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info;
}
