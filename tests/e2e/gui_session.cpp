#include "e2e/gui_session.h"

#include "res/resource.h"

namespace {

bool send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, message, wparam, lparam, SMTO_NORMAL, 10000, &result) != 0;
}

} // namespace

GuiSession::GuiSession(const std::string& config, const std::string& default_config,
                       const std::function<void(const std::string&)>& before_start) {
    write_bytes(dir_.file("ryxc.conf"), config);
    write_bytes(dir_.file("ryxc.conf.default"), default_config);
    RegistryFixture::set_install_dir(dir_.path());
    if (before_start) {
        before_start(dir_.path());
    }
    driver_ = std::make_unique<ProgramDriver>("\"" + executable_directory() + "\\ryxgui.exe\"");
    main_ = driver_->wait_for_window("DIZURO", nullptr, 20000); // a slow first start
    tabs_ = FindWindowExA(main_, nullptr, WC_TABCONTROLA, nullptr);
    // The Logging page comes once the window is painted.
    wait_until([this] {
        for (HWND page = FindWindowExA(tabs_, nullptr, "TabDialog", nullptr); page != nullptr;
             page = FindWindowExA(tabs_, page, "TabDialog", nullptr)) {
            (GetDlgItem(page, IDC_SERVER) != nullptr ? config_ : logging_) = page;
        }
        return logging_ != nullptr;
    });
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

bool click(HWND button) {
    return button != nullptr && send(button, BM_CLICK, 0, 0);
}

bool set_text(HWND control, const std::string& text) {
    return control != nullptr &&
           send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool dismiss(HWND box) {
    return press_button(box, IDOK) && wait_until([box] { return !IsWindowVisible(box); });
}

std::string remote_text(HWND control, UINT message, WPARAM wparam, void* record, std::size_t size,
                        LPSTR* text) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(control, &process_id);
    const HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id);
    char* const remote = static_cast<char*>(VirtualAllocEx(
        process, nullptr, size + remote_text_capacity, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    char result[remote_text_capacity + 1] = {};
    *text = remote + size;
    if (remote != nullptr && WriteProcessMemory(process, remote, record, size, nullptr) &&
        WriteProcessMemory(process, *text, result, 1, nullptr)) {
        SendMessageA(control, message, wparam, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, *text, result, remote_text_capacity, nullptr);
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return result;
}
