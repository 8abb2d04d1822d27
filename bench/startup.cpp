// Start-up time of the program, from process start to its main window shown and painted,
// side by side with the plainest program that shows one window.
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
double time_to_window(const std::string& program, const char* window_class) {
    const double started = now_ms();
    const ProgramDriver run("\"" + executable_directory() + "\\" + program + "\"");
    const HWND window = run.wait_for_window(window_class, nullptr, timeout_ms);
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

} // namespace

int main() {
    const RegistryFixture registry;
    const TempDir install;
    RegistryFixture::set_install_dir(install.path());

    struct Contender {
        const char* program;
        const char* window_class;
        const char* label;
        std::vector<double> ms;
    } contenders[] = {
        {"minimal_window.exe", "MinimalWindow", "minimal window", {}},
        {"minimal_window_cc6.exe", "MinimalWindow", "  + common controls 6", {}},
        {"ryxgui.exe", "DIZURO", "ryxgui.exe", {}},
    };
    for (int round = 0; round < rounds; ++round) {
        for (Contender& contender : contenders) {
            const double ms = time_to_window(contender.program, contender.window_class);
            if (ms < 0) {
                std::fprintf(stderr, "%s showed no window (is there a display?)\n",
                             contender.program);
                return 1;
            }
            contender.ms.push_back(ms);
            Sleep(settle_ms);
        }
    }
    const double minimal = median(contenders[0].ms);
    std::printf("start-up to a shown, painted main window (median of %d runs each)\n", rounds);
    for (const Contender& contender : contenders) {
        const double ms = median(contender.ms);
        std::printf("  %-22s %8.1f ms   ratio %.2f\n", contender.label, ms, ms / minimal);
    }
    return 0;
}
