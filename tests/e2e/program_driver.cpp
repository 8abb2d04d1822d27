#include "e2e/program_driver.h"

#include <vector>

namespace {

constexpr DWORD poll_interval_ms = 50;
constexpr int message_box_text_id = 0xFFFF;

struct WindowSearch {
    DWORD process_id;
    const char* class_name;
    const char* title;
    HWND found;
    int count;
};

BOOL CALLBACK match_window(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.process_id || !IsWindowVisible(window)) {
        return TRUE;
    }
    ++search.count;
    char class_name[256] = {};
    GetClassNameA(window, class_name, sizeof class_name);
    if (search.class_name != nullptr && lstrcmpA(class_name, search.class_name) != 0) {
        return TRUE;
    }
    if (search.title != nullptr && window_text(window) != search.title) {
        return TRUE;
    }
    if (search.found == nullptr) {
        search.found = window;
    }
    return TRUE;
}

} // namespace

ProgramDriver::ProgramDriver(const std::string& command_line) {
    std::vector<char> line(command_line.begin(), command_line.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info)) {
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
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    do {
        WindowSearch search = {process_id_, class_name, title, nullptr, 0};
        EnumWindows(match_window, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            return search.found;
        }
        Sleep(poll_interval_ms);
    } while (GetTickCount64() < deadline);
    return nullptr;
}

int ProgramDriver::count_windows() const {
    WindowSearch search = {process_id_, nullptr, nullptr, nullptr, 0};
    EnumWindows(match_window, reinterpret_cast<LPARAM>(&search));
    return search.count;
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
    std::string directory(path);
    return directory.substr(0, directory.find_last_of("\\/"));
}

std::string window_text(HWND window) {
    char text[4096] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string message_box_text(HWND box) {
    const HWND text = GetDlgItem(box, message_box_text_id);
    return text != nullptr ? window_text(text) : std::string();
}

bool press_button(HWND dialog, int button_id) {
    const HWND button = GetDlgItem(dialog, button_id);
    if (button == nullptr) {
        return false;
    }
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button)) != FALSE;
}
