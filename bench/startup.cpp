// Start-up time of the program, from process start to its main window shown and painted,
// side by side with the plainest program that shows one window and with the same first
// screen made from a dialog template. A second build of the program beside it,
// ryxgui-before.exe, is timed in the same rounds when present: a before and after in one run.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "e2e/program_driver.h"
#include "support/temp_dir.h"
#include "win/registry_fixture.h"

namespace {

constexpr int rounds = 15;
constexpr DWORD timeout_ms = 10000;
// A killed Wine process is still being taken down for a while: let it not cost the next one.
constexpr DWORD settle_ms = 300;

double now_ms() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds until the program's window is visible, painted and answering: a message sent
// to it returns only once its thread is back in its message loop, which it reaches after the
// window and its controls are painted. (Wine reports a process idle as soon as any of its
// threads waits for a message, its own helper threads too, and a window is visible before it is
// painted: neither alone tells.) Negative on failure.
double time_to_window(const std::string& program, const char* window_class, const char* title) {
    const double started = now_ms();
    const ProgramDriver run("\"" + executable_directory() + "\\" + program + "\"");
    const HWND window = run.wait_for_window(window_class, title, timeout_ms);
    DWORD_PTR ignored = 0;
    if (window == nullptr ||
        !SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeout_ms, &ignored)) {
        return -1;
    }
    return now_ms() - started;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool exists_beside(const char* program) {
    const std::string path = executable_directory() + "\\" + program;
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

int main() {
    const RegistryFixture registry;
    const TempDir install;
    RegistryFixture::set_install_dir(install.path());

    struct Contender {
        const char* program;
        const char* window_class;
        const char* title;
        const char* label;
        bool optional;
        std::vector<double> ms = {};
    };
    std::vector<Contender> contenders = {
        {"minimal_window.exe", "MinimalWindow", nullptr, "minimal window", false},
        {"minimal_window_cc6.exe", "MinimalWindow", nullptr, "  + common controls 6", false},
        {"dialog_window.exe", "#32770", "RYX Client GUI dialog", "same controls, dialog", false},
        {"ryxgui.exe", "DIZURO", nullptr, "ryxgui.exe", false},
        {"ryxgui-before.exe", "DIZURO", nullptr, "ryxgui-before.exe", true},
    };
    contenders.erase(std::remove_if(contenders.begin(), contenders.end(),
                                    [](const Contender& contender) {
                                        return contender.optional &&
                                               !exists_beside(contender.program);
                                    }),
                     contenders.end());
    // One untimed round first: the first window of a run also starts Wine's desktop process,
    // which is nobody's start-up.
    for (int round = -1; round < rounds; ++round) {
        for (Contender& contender : contenders) {
            const double ms =
                time_to_window(contender.program, contender.window_class, contender.title);
            if (ms < 0) {
                std::fprintf(stderr, "%s showed no window (is there a display?)\n",
                             contender.program);
                return 1;
            }
            if (round >= 0) {
                contender.ms.push_back(ms);
            }
            Sleep(settle_ms);
        }
    }
    const double minimal = median(contenders[0].ms);
    const double dialog = median(contenders[2].ms);
    std::printf("start-up to a shown, painted main window (median of %d runs each, min-max)\n",
                rounds);
    std::printf("  %-22s %8s  %-15s %7s %9s\n", "", "median", "range", "/minimal", "/dialog");
    for (const Contender& contender : contenders) {
        const double ms = median(contender.ms);
        const auto range = std::minmax_element(contender.ms.begin(), contender.ms.end());
        std::printf("  %-22s %5.1f ms  %5.1f-%5.1f ms %8.2f %9.2f\n", contender.label, ms,
                    *range.first, *range.second, ms / minimal, ms / dialog);
    }
    return 0;
}
