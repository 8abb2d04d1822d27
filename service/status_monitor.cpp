#include "service/status_monitor.h"

#include "base/private_message.h"
#include "service/service_control.h"

namespace {
constexpr DWORD poll_interval_ms = 500;
constexpr DWORD retry_interval_ms = 1000;
} // namespace

void StatusMonitor::post(DWORD state) {
    // Only a change, unless asked: the window's thread then sleeps while nothing happens.
    if (report_next_.exchange(false) || state != posted_) {
        posted_ = state;
        post_private_message(window_, private_message::service_state, state);
    }
}

bool StatusMonitor::run() {
    post(0);
    // Opened here rather than by the window's thread, which has the window to show.
    ServiceControl service("ryx");
    for (;;) {
        while (!service.is_available()) {
            SleepEx(retry_interval_ms, FALSE);
            service.reopen();
        }
        // Once the window shows, and again when the service is installed anew: which buttons
        // Windows will ask about.
        post_private_message(
            window_, private_message::service_rights,
            (service.start_needs_elevation() ? private_message::start_needs_elevation : 0) |
                (service.stop_needs_elevation() ? private_message::stop_needs_elevation : 0));
        for (DWORD state = service.query_state(); state != 0; state = service.query_state()) {
            post(state);
            SleepEx(poll_interval_ms, FALSE);
        }
        // The service went away (removed, say): look for it again until it answers.
        post(0);
        SleepEx(retry_interval_ms, FALSE);
        service.reopen();
    }
}
