// When a change of the service's state is worth a notification: a change between running and
// not running that the user did not ask for in this program. Never for the first state known,
// at most one notification per quiet time, and a change made during it told once it is over,
// if the service is still that way. Free of any window system: times are milliseconds of a
// steady clock.
#pragma once

enum class Notice { none, running, stopped };

class NotificationRule {
public:
    static constexpr unsigned long long quiet_ms = 10000;
    // A Start or Stop gets this long to take effect: the manager itself waits about as long for
    // a service to report that it started.
    static constexpr unsigned long long own_command_ms = 30000;

    // The user pressed Start or Stop in this program: what follows until the state settles on
    // the other side (or the time runs out) is the user's own doing.
    void own_command(unsigned long long now_ms);
    // Each state the status monitor reports (0: none known, or the service gone), with whether
    // the user wants notifications at all.
    Notice report(unsigned long state, unsigned long long now_ms, bool wanted);
    // How long until the quiet time ends when a change waits for it (the state must then be
    // reported again, changed or not); 0 when none waits.
    unsigned long long ask_again_in(unsigned long long now_ms) const;

private:
    enum class Side { unknown, running, not_running };

    // What the user knows: the first state seen, the outcome of their own command, or the last
    // notification.
    Side known_ = Side::unknown;
    bool command_pending_ = false;
    unsigned long long command_at_ = 0;
    bool notified_ = false;
    bool waiting_ = false;
    unsigned long long notified_at_ = 0;
};
