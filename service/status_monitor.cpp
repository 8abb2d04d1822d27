#include "service/status_monitor.h"

#include "app/main_window.h"
#include "app/startup.h"
#include "service/service_control.h"

namespace {
constexpr DWORD poll_interval_ms = 500;
constexpr DWORD retry_interval_ms = 1000;
} // namespace

bool StatusMonitor::run() {
    main_window->show_service_state(0);
    // Opened here rather than by the window's thread, which has the window to show.
    ServiceControl service("ryx");
    while (!service.is_available()) {
        SleepEx(retry_interval_ms, FALSE);
        service.reopen();
        // Shown again: the icon follows a change of the screen's DPI meanwhile.
        main_window->show_service_state(0);
    }
    for (;;) {
        const DWORD state = service.query_state();
        main_window->show_service_state(state);
        if (state != 0) {
            SleepEx(poll_interval_ms, FALSE);
        } else {
            // The service went away (removed, say): look for it again until it answers.
            SleepEx(retry_interval_ms, FALSE);
            service.reopen();
        }
    }
}
