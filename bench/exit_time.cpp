// How long the process takes to end once the user is done with it: after Yes on the close
// box, the same with the Advanced window open, and after OK on the installation error box.
// Timed from the button press to the process's end, as the waiting side sees it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "e2e/program_driver.h"
#include "win/registry_fixture.h"
#include "res/resource.h"

namespace {

constexpr int rounds = 7;
constexpr DWORD timeout_ms = 20000;
constexpr DWORD settle_ms = 300; // a killed Wine process takes a while to go

double now_ms() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Presses the button and waits for the end; milliseconds, negative when it did not end.
double time_to_exit(const ProgramDriver& program, HWND box, int button) {
    const double pressed = now_ms();
    DWORD exit_code = 0;
    if (!press_button(box, button) || !program.wait_for_exit(timeout_ms, exit_code)) {
        return -1;
    }
    return now_ms() - pressed;
}

double after_close(bool with_advanced) {
    const ProgramDriver gui(ProgramDriver::Installation{"server=exit.example\n"});
    if (!gui.ready()) {
        return -1;
    }
    if (with_advanced) {
        PostMessageA(GetDlgItem(gui.config_page(), IDC_ADVANCED), BM_CLICK, 0, 0);
        if (gui.wait_for_window("AdvancedDialog", nullptr, timeout_ms) == nullptr) {
            return -1;
        }
    }
    // The close box of a disabled main window comes from the system menu all the same.
    PostMessageA(gui.main_window(), WM_CLOSE, 0, 0);
    const HWND box = gui.wait_for_box();
    return box != nullptr ? time_to_exit(gui, box, IDYES) : -1;
}

double after_installation_error() {
    const RegistryFixture no_installation;
    const ProgramDriver program("\"" + executable_directory() + "\\ryxgui.exe\"");
    const HWND box = program.wait_for_window("#32770", nullptr, timeout_ms);
    return box != nullptr ? time_to_exit(program, box, IDOK) : -1;
}

std::string summary(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    char text[96];
    std::snprintf(text, sizeof text, "median %7.1f ms, min %7.1f, max %7.1f", ms[ms.size() / 2],
                  ms.front(), ms.back());
    return text;
}

} // namespace

int main() {
    struct Case {
        const char* label;
        double (*measure)();
        std::vector<double> ms;
    } cases[] = {
        {"Yes on the close box", [] { return after_close(false); }, {}},
        {"  with Advanced open", [] { return after_close(true); }, {}},
        {"OK on the install error", after_installation_error, {}},
    };
    for (int round = 0; round < rounds; ++round) {
        for (Case& c : cases) {
            const double ms = c.measure();
            if (ms < 0) {
                std::fprintf(stderr, "%s: no end seen (is there a display?)\n", c.label);
                return 1;
            }
            c.ms.push_back(ms);
            Sleep(settle_ms);
        }
    }
    std::printf("from the button press to the process's end (%d runs each)\n", rounds);
    for (const Case& c : cases) {
        std::printf("  %-24s %s\n", c.label, summary(c.ms).c_str());
    }
    return 0;
}
