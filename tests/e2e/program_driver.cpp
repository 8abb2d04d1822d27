#include "e2e/program_driver.h"

#include <vector>

namespace {

// The process's visible top-level windows of this class and title (null: any).
std::vector<HWND> windows_of(DWORD process_id, const char* class_name, const char* title) {
    std::vector<HWND> found;
    for (HWND window = FindWindowExA(nullptr, nullptr, class_name, title); window != nullptr;
         window = FindWindowExA(nullptr, window, class_name, title)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process_id && IsWindowVisible(window)) {
            found.push_back(window);
        }
    }
    return found;
}

} // namespace

ProgramDriver::ProgramDriver(const std::string& command_line) {
    std::vector<char> line(command_line.begin(), command_line.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        process_id_ = info.dwProcessId;
    }
}

ProgramDriver::~ProgramDriver() {
    if (process_ != nullptr) {
        if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_, 99);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
    }
}

HWND ProgramDriver::wait_for_window(const char* class_name, const char* title,
                                    DWORD timeout_ms) const {
    HWND window = nullptr;
    wait_until(
        [&] {
            const std::vector<HWND> found = windows_of(process_id_, class_name, title);
            window = found.empty() ? nullptr : found.front();
            return window != nullptr;
        },
        timeout_ms);
    return window;
}

int ProgramDriver::count_windows() const {
    return static_cast<int>(windows_of(process_id_, nullptr, nullptr).size());
}

bool ProgramDriver::wait_for_input_idle(DWORD timeout_ms) const {
    return process_ != nullptr && WaitForInputIdle(process_, timeout_ms) == 0;
}

bool ProgramDriver::wait_for_exit(DWORD timeout_ms, DWORD& exit_code) const {
    return process_ != nullptr && WaitForSingleObject(process_, timeout_ms) == WAIT_OBJECT_0 &&
           GetExitCodeProcess(process_, &exit_code);
}

std::string executable_directory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string directory(path);
    return directory.substr(0, directory.find_last_of("\\/"));
}

std::string window_text(HWND window) {
    char text[4096] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string message_box_text(HWND box) {
    const HWND text = GetDlgItem(box, 0xFFFF); // a message box's text control
    return text != nullptr ? window_text(text) : std::string();
}

bool press_button(HWND dialog, int button_id) {
    const HWND button = GetDlgItem(dialog, button_id);
    return button != nullptr && PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED),
                                             reinterpret_cast<LPARAM>(button));
}

bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms, DWORD poll_ms) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    while (!condition()) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(poll_ms);
    }
    return true;
}
