#include "service/status_monitor.h"

#include "app/main_window.h"
#include "app/startup.h"

namespace {
constexpr DWORD poll_interval_ms = 500;
constexpr DWORD retry_interval_ms = 1000;
} // namespace

StatusMonitor::StatusMonitor() : service_("ryx") {}

bool StatusMonitor::run() {
    main_window->show_service_state(0);
    while (!service_.is_available()) {
        SleepEx(retry_interval_ms, FALSE);
        service_.reopen();
        // Shown again: the icon follows a change of the screen's DPI meanwhile.
        main_window->show_service_state(0);
    }
    for (;;) {
        const DWORD state = service_.query_state();
        main_window->show_service_state(state);
        if (state != 0) {
            SleepEx(poll_interval_ms, FALSE);
        } else {
            // The service went away (removed, say): look for it again until it answers.
            SleepEx(retry_interval_ms, FALSE);
            service_.reopen();
        }
    }
}
