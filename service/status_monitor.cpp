#include "service/status_monitor.h"

#include "base/private_message.h"
#include "service/service_control.h"

namespace {
constexpr DWORD poll_interval_ms = 500;
constexpr DWORD retry_interval_ms = 1000;
} // namespace

void StatusMonitor::post(DWORD state) const {
    // Every report, a change or not: a refused Start or Stop greyed both buttons, and the
    // report gives them back.
    post_private_message(window_, private_message::service_state, state);
}

bool StatusMonitor::run() {
    post(0);
    // Opened here rather than by the window's thread, which has the window to show.
    ServiceControl service("ryx");
    while (!service.is_available()) {
        SleepEx(retry_interval_ms, FALSE);
        service.reopen();
    }
    for (;;) {
        const DWORD state = service.query_state();
        post(state);
        if (state != 0) {
            SleepEx(poll_interval_ms, FALSE);
        } else {
            // The service went away (removed, say): look for it again until it answers.
            SleepEx(retry_interval_ms, FALSE);
            service.reopen();
        }
    }
}
