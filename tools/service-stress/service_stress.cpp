// Stops and starts the stand-in service many times in a row through ServiceControl and checks
// that the client's log shows every start and stop. Usage: service_stress [CYCLES]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "service/service_control.h"
#include "support/temp_dir.h"
#include "win/demo_installation.h"

namespace {

constexpr DWORD state_timeout_ms = 20000;

int count_of(const std::string& text, const char* part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

bool cycle(ServiceControl& service, int number) {
    if (!service.start()) {
        std::printf("cycle %d: start refused (state %lu)\n", number,
                    static_cast<unsigned long>(service.query_state()));
        return false;
    }
    if (wait_for_state(service, SERVICE_RUNNING, state_timeout_ms) != SERVICE_RUNNING) {
        std::printf("cycle %d: not running in time\n", number);
        return false;
    }
    if (!service.stop()) {
        std::printf("cycle %d: stop refused\n", number);
        return false;
    }
    if (wait_for_state(service, SERVICE_STOPPED, state_timeout_ms) != SERVICE_STOPPED) {
        std::printf("cycle %d: not stopped in time\n", number);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 100;
    const DemoInstallation demo;
    if (!demo.install()) {
        std::printf("install failed\n");
        return 1;
    }
    ServiceControl service("ryx");
    int completed = 0;
    std::vector<double> seconds;
    for (int number = 1; number <= cycles; ++number) {
        const ULONGLONG begun = GetTickCount64();
        if (!cycle(service, number)) {
            break;
        }
        seconds.push_back(static_cast<double>(GetTickCount64() - begun) / 1000.0);
        ++completed;
    }

    const std::string log = read_bytes(demo.file("ryxc.log"));
    const char* const lines[] = {
        "tunnel: Starting tunnel client\r\n", "tunnel: Tunnel established with",
        "tunnel: Stopping tunnel client\r\n", "tunnel: Tunnel client stopped\r\n"};
    bool log_complete = true;
    for (const char* line : lines) {
        const int found = count_of(log, line);
        std::printf("log lines \"%.*s\": %d\n", static_cast<int>(std::string(line).find('\r')),
                    line, found);
        log_complete = log_complete && found == completed;
    }
    const int quits = count_of(log, "client quitted");
    std::sort(seconds.begin(), seconds.end());
    if (!seconds.empty()) {
        std::printf("cycle time: min %.2f s, median %.2f s, max %.2f s\n", seconds.front(),
                    seconds[seconds.size() / 2], seconds.back());
    }
    std::printf("cycles completed: %d of %d; log %s; quit lines %d\n", completed, cycles,
                log_complete ? "shows every start and stop" : "INCOMPLETE", quits);
    return completed == cycles && log_complete && quits == 0 ? 0 : 1;
}
