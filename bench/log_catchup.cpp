// How fast the log follower catches up with a large log and follows a growing one, against
// a real list view, beside a plain line-by-line read of the same file.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/startup.h"
#include "config/bounded_text.h"
#include "log/list_log_view.h"
#include "log/logging_page.h"
#include "res/resource.h"

namespace {

constexpr int line_count = 1000000;
constexpr int row_limit = 1001;
constexpr int follow_samples = 20;
constexpr DWORD timeout_ms = 600000;

std::string entry_of(int n) {
    return "keepalive sent, sequence " + std::to_string(n);
}

std::string line_of(int n) {
    char stamp[32] = {};
    std::snprintf(stamp, sizeof stamp, "2024/05/17 %02d:%02d:%02d", (n / 3600) % 24, (n / 60) % 60,
                  n % 60);
    return std::string(stamp) + " tunnel: " + entry_of(n) + "\r\n";
}

LARGE_INTEGER frequency() {
    LARGE_INTEGER value = {};
    QueryPerformanceFrequency(&value);
    return value;
}

double seconds_since(const LARGE_INTEGER& start) {
    LARGE_INTEGER now = {};
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start.QuadPart) /
           static_cast<double>(frequency().QuadPart);
}

LARGE_INTEGER now() {
    LARGE_INTEGER value = {};
    QueryPerformanceCounter(&value);
    return value;
}

bool append(const std::string& path, const std::string& text) {
    const HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool done =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size();
    CloseHandle(file);
    return done;
}

long long write_log(const std::string& path) {
    std::string chunk;
    long long size = 0;
    DeleteFileA(path.c_str());
    for (int n = 1; n <= line_count; ++n) {
        chunk += line_of(n);
        if (chunk.size() > (1u << 20) || n == line_count) {
            if (!append(path, chunk)) {
                return -1;
            }
            size += static_cast<long long>(chunk.size());
            chunk.clear();
        }
    }
    return size;
}

double time_getline(const std::string& path, long long& lines) {
    const LARGE_INTEGER start = now();
    std::ifstream in(path);
    std::string line;
    lines = 0;
    while (std::getline(in, line)) {
        ++lines;
    }
    return seconds_since(start);
}

// What the list has been sent, watched on the user-interface thread that owns it.
struct ListWatch {
    WNDPROC original = nullptr;
    WNDPROC page_original = nullptr;
    long long messages = 0;
    long long sends = 0; // crossings from the follower's thread: batches and single messages
    bool in_batch = false;
    double batch_seconds = 0;
    LARGE_INTEGER caught_up_at = {};
    LARGE_INTEGER first_batch = {};
    std::string awaited; // the entry text whose row is waited for
    bool seen = false;
    bool scrolled_after = false;
};

ListWatch watch;

LRESULT CALLBACK watching_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message >= LVM_FIRST && message < LVM_FIRST + 0x100) {
        ++watch.messages;
        if (!watch.in_batch) {
            ++watch.sends;
        }
    }
    if (message == LVM_SETITEMTEXTA && lparam != 0) {
        const auto* item = reinterpret_cast<const LVITEMA*>(lparam);
        if (item->pszText != nullptr && watch.awaited == item->pszText) {
            watch.seen = true;
        }
    } else if (message == LVM_SCROLL && watch.seen && !watch.scrolled_after) {
        // Catch-up's last message: the view brought down to the rows it has just shown.
        watch.scrolled_after = true;
        watch.caught_up_at = now();
    }
    return CallWindowProcA(watch.original, window, message, wparam, lparam);
}

LRESULT CALLBACK watching_page_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message != ListLogView::run_work_message) {
        return CallWindowProcA(watch.page_original, window, message, wparam, lparam);
    }
    ++watch.sends;
    watch.in_batch = true;
    const LARGE_INTEGER start = now();
    if (watch.first_batch.QuadPart == 0) {
        watch.first_batch = start;
    }
    const LRESULT result = CallWindowProcA(watch.page_original, window, message, wparam, lparam);
    watch.batch_seconds += seconds_since(start);
    watch.in_batch = false;
    return result;
}

// Handles this thread's messages, the follower's sends among them, until the condition holds.
template <typename Condition>
bool pump_until(Condition condition, DWORD limit_ms) {
    const ULONGLONG deadline = GetTickCount64() + limit_ms;
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (condition()) {
            return true;
        }
        const ULONGLONG left = GetTickCount64();
        if (left >= deadline) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - left),
                                  QS_ALLINPUT);
    }
}

std::string cell_text(HWND list, int row, int column) {
    char text[256] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

HWND make_frame() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = DefWindowProcA;
    window_class.hInstance = app_instance;
    window_class.lpszClassName = "LogCatchupBench";
    RegisterClassA(&window_class);
    return CreateWindowExA(0, "LogCatchupBench", "log_catchup", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                           0, 646, 526, nullptr, nullptr, app_instance, nullptr);
}

// A Logging page, as the program makes it, shown; its follower starts at once.
HWND make_page(HWND frame) {
    const RECT page_area = {1, 25, 620, 434};
    auto* page = new LoggingPage(app_instance, frame, &page_area, 96,
                                 static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    page->create();
    page->activate();
    const HWND list = GetDlgItem(page->handle(), IDC_LOG_LIST);
    // The follower's first sends wait for this thread's message loop, so none is missed.
    watch.original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watching_proc)));
    watch.page_original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        page->handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watching_page_proc)));
    return list;
}

} // namespace

int main() {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string dir =
        std::string(temp) + "ryx-log-catchup-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    const std::string path = dir + "\\ryxc.log";

    const long long size = write_log(path);
    if (size < 0) {
        std::printf("cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("log: %d lines, %.1f MB at %s\n", line_count, size / 1e6, path.c_str());

    long long lines = 0;
    const double getline_before = time_getline(path, lines);

    app_instance = GetModuleHandleA(nullptr);
    copy_text(log_file_path, path_capacity, path.c_str());
    watch.awaited = entry_of(line_count);
    const HWND frame = make_frame();
    const LARGE_INTEGER started = now();
    const HWND list = make_page(frame);
    const bool caught_up = pump_until([] { return watch.scrolled_after; }, timeout_ms);
    const double catch_up = static_cast<double>(watch.caught_up_at.QuadPart - started.QuadPart) /
                            static_cast<double>(frequency().QuadPart);
    const long long catch_up_messages = watch.messages;
    const long long catch_up_sends = watch.sends;
    const double reading = static_cast<double>(watch.first_batch.QuadPart - started.QuadPart) /
                           static_cast<double>(frequency().QuadPart);
    const double showing = watch.batch_seconds;

    const double getline_after = time_getline(path, lines);
    const double getline_time = std::min(getline_before, getline_after);

    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    const bool rows_right = rows == row_limit &&
                            cell_text(list, 0, 1) == entry_of(line_count - row_limit + 1) &&
                            cell_text(list, rows - 1, 1) == entry_of(line_count);
    std::printf("catch-up: %s, %d rows, oldest and newest %s\n", caught_up ? "done" : "TIMED OUT",
                rows, rows_right ? "as expected" : "WRONG");
    std::printf("getline loop:     %.3f s (%lld lines; best of two runs)\n", getline_time, lines);
    std::printf("follower catch-up: %.3f s (page made, log read: %.3f s, rows shown: %.3f s)\n",
                catch_up, reading, showing);
    std::printf("ratio:            %.2f (target <= 1.5)\n", catch_up / getline_time);
    std::printf("list messages:    %lld during catch-up, in %lld sends from the follower\n",
                catch_up_messages, catch_up_sends);

    // Following: lines appended at spread-out moments of the follower's one-second wait.
    std::vector<double> latencies;
    for (int sample = 0; sample < follow_samples && caught_up; ++sample) {
        const DWORD pause_ms = static_cast<DWORD>((sample * 379) % 1000);
        pump_until([] { return false; }, pause_ms);
        const int n = line_count + 1 + sample;
        watch.awaited = entry_of(n);
        watch.seen = false;
        const LARGE_INTEGER appended = now();
        append(path, line_of(n));
        if (!pump_until([] { return watch.seen; }, timeout_ms)) {
            std::printf("following: row %d never showed\n", n);
            break;
        }
        latencies.push_back(seconds_since(appended));
    }
    if (!latencies.empty()) {
        std::vector<double> sorted = latencies;
        std::sort(sorted.begin(), sorted.end());
        const double median = (sorted[(sorted.size() - 1) / 2] + sorted[sorted.size() / 2]) / 2;
        std::printf("following:        median %.3f s, max %.3f s over %zu lines (target <= 1.1)\n",
                    median, sorted.back(), sorted.size());
    }
    std::printf("list messages:    %lld in all, in %lld sends from the follower\n", watch.messages,
                watch.sends);

    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf("peak working set: %.1f MiB (target < 32)\n",
                static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0));

    DeleteFileA(path.c_str());
    RemoveDirectoryA(dir.c_str());
    return caught_up && rows_right ? 0 : 1;
}
