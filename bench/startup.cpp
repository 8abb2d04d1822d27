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

constexpr int rounds = 10;
constexpr DWORD timeout_ms = 30000;

double now_ms() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds until the program's window is visible and the program waits for input,
// which it does only once the window has been painted; negative on failure.
double time_to_window(const std::string& program, const char* window_class) {
    const double started = now_ms();
    const ProgramDriver run("\"" + executable_directory() + "\\" + program + "\"");
    if (run.wait_for_window(window_class, nullptr, timeout_ms) == nullptr ||
        !run.wait_for_input_idle(timeout_ms)) {
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

    std::vector<double> program_ms, minimal_ms;
    for (int round = 0; round < rounds; ++round) {
        minimal_ms.push_back(time_to_window("minimal_window.exe", "MinimalWindow"));
        program_ms.push_back(time_to_window("ryxgui.exe", "DIZURO"));
    }
    const double program = median(program_ms), minimal = median(minimal_ms);
    std::printf("start-up to a shown, painted main window (median of %d runs each)\n", rounds);
    std::printf("  ryxgui.exe          %8.1f ms\n", program);
    std::printf("  minimal window      %8.1f ms\n", minimal);
    std::printf("  ratio               %8.2f\n", program / minimal);
    return program > 0 && minimal > 0 ? 0 : 1;
}
