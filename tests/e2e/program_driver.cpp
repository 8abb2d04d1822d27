#include "e2e/program_driver.h"

#include <algorithm>
#include <atomic>
#include <commctrl.h>
#include <cstring>
#include <fstream>
#include <thread>

#include "base/owned_handle.h"
#include "res/resource.h"

ProgramDriver::ProgramDriver(const Installation& installation, const std::string& arguments)
    : registry_(std::make_unique<RegistryFixture>()), directory_(std::make_unique<TempDir>()) {
    write_bytes(file("ryxc.conf"), installation.config);
    write_bytes(file("ryxc.conf.default"), installation.default_config);
    RegistryFixture::set_install_dir(install_dir());
    start(ryxgui_command() + arguments);
    // A fresh prefix's first program starts slowly; a page's controls come after the page,
    // which is then put behind its tab (disabled) once made whole.
    wait_until(
        [this] {
            main_ = FindWindowA("DIZURO", nullptr);
            DWORD owner = 0;
            GetWindowThreadProcessId(main_, &owner);
            tabs_ = owner == process_id_ ? FindWindowExA(main_, nullptr, WC_TABCONTROLA, nullptr)
                                         : nullptr;
            // No page is a top-level window: none is found without the tab control.
            config_ = logging_ = nullptr;
            for (HWND page = FindWindowExA(tabs_, nullptr, "TabDialog", nullptr); page != nullptr;
                 page = FindWindowExA(tabs_, page, "TabDialog", nullptr)) {
                (GetDlgItem(page, IDC_SERVER) != nullptr ? config_ : logging_) = page;
            }
            return logging_ != nullptr && !IsWindowEnabled(logging_);
        },
        20000);
}

void ProgramDriver::start(std::string command_line) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (CreateProcessA(nullptr, &command_line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        process_id_ = info.dwProcessId;
    }
}

ProgramDriver::~ProgramDriver() {
    if (process_ != nullptr) {
        TerminateProcess(process_, 99); // refused, harmlessly, once it has ended
        WaitForSingleObject(process_, 5000);
        CloseHandle(process_);
    }
}

void ProgramDriver::append(const char* name, const std::string& text) const {
    std::ofstream(file(name), std::ios::binary | std::ios::app) << text;
}

HWND ProgramDriver::wait_for_window(const char* class_name, const char* title,
                                    DWORD timeout_ms) const {
    std::vector<HWND> found;
    wait_until([&] { return !(found = visible_windows(class_name, title, process_id_)).empty(); },
               timeout_ms);
    return found.empty() ? nullptr : found.front();
}

HWND ProgramDriver::wait_for_box(DWORD timeout_ms) const {
    const HWND box = wait_for_window("#32770", nullptr, timeout_ms);
    return GetWindow(box, GW_OWNER) == main_ ? box : nullptr;
}

std::string ProgramDriver::answer_box(int button_id, DWORD timeout_ms) const {
    const HWND box = wait_for_box(timeout_ms);
    // 0xFFFF: a message box's text control.
    const std::string text = window_text(GetDlgItem(box, 0xFFFF)) + "|" + window_text(box);
    const bool answered =
        press_button(box, button_id) && wait_until([box] { return !IsWindow(box); });
    return answered ? text : std::string();
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

std::vector<HWND> visible_windows(const char* class_name, const char* title, DWORD process_id) {
    std::vector<HWND> found;
    for (HWND window = FindWindowExA(nullptr, nullptr, class_name, title); window != nullptr;
         window = FindWindowExA(nullptr, window, class_name, title)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (IsWindowVisible(window) && (process_id == 0 || owner == process_id)) {
            found.push_back(window);
        }
    }
    return found;
}

std::string window_text(HWND window) {
    char text[4096] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

bool press_button(HWND dialog, int button_id) {
    const HWND button = GetDlgItem(dialog, button_id);
    return button != nullptr && PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED),
                                             reinterpret_cast<LPARAM>(button));
}

void press(std::initializer_list<BYTE> keys) {
    for (const BYTE key : keys) {
        keybd_event(key, 0, 0, 0);
    }
    for (auto key = keys.end(); key != keys.begin();) {
        keybd_event(*--key, 0, KEYEVENTF_KEYUP, 0);
    }
}

HWND focus_of(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

std::string user_registry_text(const char* key, const char* name) {
    char data[1024] = {};
    DWORD size = sizeof data;
    return RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, data, &size) ==
                   ERROR_SUCCESS
               ? data
               : "none";
}

std::string system_text(DWORD error) {
    char reason[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                   reason, sizeof reason, nullptr);
    return std::string(reason, std::strcspn(reason, "\r\n"));
}

std::vector<ULONGLONG> slowest_answers(const std::vector<HWND>& windows,
                                       const std::function<void()>& during) {
    std::atomic<bool> done{false};
    std::vector<ULONGLONG> slowest(windows.size(), 0);
    std::vector<std::thread> askers;
    for (std::size_t at = 0; at < windows.size(); ++at) {
        askers.emplace_back([&, at] {
            for (DWORD_PTR ignored = 0; !done; Sleep(20)) {
                const ULONGLONG asked = GetTickCount64();
                SendMessageTimeoutA(windows[at], WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
                slowest[at] = std::max(slowest[at], GetTickCount64() - asked);
            }
        });
    }
    during();
    done = true;
    for (std::thread& asker : askers) {
        asker.join();
    }
    return slowest;
}

bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms, DWORD poll_ms) {
    for (const ULONGLONG deadline = GetTickCount64() + timeout_ms; !condition(); Sleep(poll_ms)) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
    }
    return true;
}

std::string wait_for_text(const std::function<std::string()>& read, const std::string& wanted,
                          DWORD timeout_ms) {
    std::string text;
    wait_until([&] { return (text = read()) == wanted; }, timeout_ms);
    return text;
}

std::string tool_text(HWND tooltip, HWND tool_window, UINT_PTR tool_id) {
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
    tool.cbSize = TTTOOLINFOA_V2_SIZE; // the size the program registers its tool with
    tool.hwnd = tool_window;
    tool.uId = tool_id;
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
