#include "e2e/program_driver.h"

#include <commctrl.h>
#include <vector>

#include "res/resource.h"
#include "support/temp_dir.h"
#include "win/registry_fixture.h"

namespace {

constexpr DWORD first_start_ms = 20000; // the first program of a fresh prefix starts slowly

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

bool send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, message, wparam, lparam, SMTO_NORMAL, 10000, &result) != 0;
}

} // namespace

ProgramDriver::ProgramDriver(const std::string& command_line) {
    start(command_line);
}

ProgramDriver::ProgramDriver(const Installation& installation)
    : registry_(std::make_unique<RegistryFixture>()), directory_(std::make_unique<TempDir>()) {
    write_bytes(file("ryxc.conf"), installation.config);
    write_bytes(file("ryxc.conf.default"), installation.default_config);
    RegistryFixture::set_install_dir(directory_->path());
    if (installation.before_start) {
        installation.before_start(directory_->path());
    }
    start(ryxgui_command());
    main_ = wait_for_window("DIZURO", nullptr, first_start_ms);
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

void ProgramDriver::start(const std::string& command_line) {
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

std::string ProgramDriver::install_dir() const {
    return directory_ != nullptr ? directory_->path() : std::string();
}

std::string ProgramDriver::file(const char* name) const {
    return directory_ != nullptr ? directory_->file(name) : std::string();
}

HWND ProgramDriver::control(int id) const {
    for (const HWND parent : {config_, logging_, main_}) {
        if (const HWND found = GetDlgItem(parent, id)) {
            return found;
        }
    }
    return nullptr;
}

int ProgramDriver::selected_tab() const {
    return static_cast<int>(SendMessageA(tabs_, TCM_GETCURSEL, 0, 0));
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

HWND ProgramDriver::wait_for_box(DWORD timeout_ms) const {
    HWND box = nullptr;
    const bool shown = wait_until(
        [&] {
            box = wait_for_window("#32770", nullptr, 0);
            return box != nullptr && GetWindow(box, GW_OWNER) == main_;
        },
        timeout_ms);
    return shown ? box : nullptr;
}

int ProgramDriver::count_windows() const {
    return static_cast<int>(windows_of(process_id_, nullptr, nullptr).size());
}

bool ProgramDriver::wait_for_exit(DWORD timeout_ms, DWORD& exit_code) const {
    return process_ != nullptr && WaitForSingleObject(process_, timeout_ms) == WAIT_OBJECT_0 &&
           GetExitCodeProcess(process_, &exit_code);
}

std::string ryxgui_command() {
    return "\"" + executable_directory() + "\\ryxgui.exe\"";
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

bool dismiss(HWND box) {
    return press_button(box, IDOK) && wait_until([box] { return !IsWindowVisible(box); });
}

bool click(HWND button) {
    return button != nullptr && send(button, BM_CLICK, 0, 0);
}

bool set_text(HWND control, const std::string& text) {
    return control != nullptr &&
           send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
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
