#include "service/notification_rule.h"

namespace {

// The manager's numbers: SERVICE_STOPPED and SERVICE_RUNNING.
constexpr unsigned long stopped = 1;
constexpr unsigned long running = 4;

} // namespace

void NotificationRule::own_command(unsigned long long now_ms) {
    command_pending_ = true;
    command_at_ = now_ms;
}

Notice NotificationRule::report(unsigned long state, unsigned long long now_ms, bool wanted) {
    // Pending and paused states are on the way somewhere: only where the service settles counts.
    // No state at all is the service gone, except before any state was known: the monitor says
    // so once before it has even looked.
    Side side = Side::unknown;
    if (state == running) {
        side = Side::running;
    } else if (state == stopped || (state == 0 && known_ != Side::unknown)) {
        side = Side::not_running;
    }
    waiting_ = false;
    if (command_pending_ && now_ms - command_at_ >= own_command_ms) {
        command_pending_ = false; // refused, or never took effect
    }
    if (side == Side::unknown || side == known_) {
        return Notice::none;
    }
    if (known_ == Side::unknown || command_pending_ || !wanted) {
        // Start-up, the user's own command reaching its end, or notifications off: nothing to
        // tell now, nor later.
        known_ = side;
        command_pending_ = false;
        return Notice::none;
    }
    if (notified_ && now_ms - notified_at_ < quiet_ms) {
        waiting_ = true;
        return Notice::none;
    }
    known_ = side;
    notified_ = true;
    notified_at_ = now_ms;
    return side == Side::running ? Notice::running : Notice::stopped;
}

unsigned long long NotificationRule::ask_again_in(unsigned long long now_ms) const {
    if (!waiting_) {
        return 0;
    }
    const unsigned long long passed = now_ms - notified_at_;
    return passed < quiet_ms ? quiet_ms - passed : 1;
}
