#include "service/notification_rule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The manager's numbers; `own` is the user pressing Start or Stop in the program.
enum : unsigned long { none_known, stopped, start_pending, stop_pending, running, own = 100 };

struct Step {
    unsigned long state;
    unsigned long long at_ms;
    bool wanted = true;
};

} // namespace

// One character per step: '.' nothing, 'R' "is running", 'S' "has stopped".
TEST(NotificationRule, TellsChangesTheUserDidNotMakeHereAtMostOncePerQuietTime) {
    // clang-format off
    const struct {
        const char* name;
        std::vector<Step> steps;
        const char* expected;
    } cases[] = {
        {"the monitor's opening none-known is no state, the first one known no change",
         {{none_known, 0}, {running, 50}, {stop_pending, 500}, {stopped, 1000}}, "...S"},
        {"the service removed while running", {{running, 0}, {none_known, 500}}, ".S"},
        {"the user's own Start: its effect is no news",
         {{stopped, 0}, {own, 100}, {stopped, 500}, {start_pending, 1000}, {running, 1500}}, "....."},
        {"the user's Start reached running, then the client quit: told",
         {{stopped, 0}, {own, 100}, {running, 1000}, {stopped, 3000}}, "...S"},
        {"a refused Start lapses: a start by someone else later is told",
         {{stopped, 0}, {own, 100}, {stopped, 500}, {stopped, 30099}, {running, 30100}}, "....R"},
        {"a change undone within the quiet time is never told",
         {{running, 0}, {stopped, 1000}, {running, 2000}, {stopped, 3000}, {stopped, 11000}}, ".S..."},
        {"many changes a second: one notification, then the state it settled in",
         {{running, 0}, {stopped, 250}, {running, 500}, {stopped, 750}, {running, 1000},
          {running, 10249}, {running, 10250}}, ".S....R"},
        {"notifications off: nothing, and nothing stale once they are on again",
         {{running, 0}, {stopped, 1000, false}, {stopped, 2000}, {running, 3000}}, "...R"},
        {"the quiet time counts from the last notification, not from the last change",
         {{stopped, 0}, {running, 20000}, {stopped, 29999}, {stopped, 30000}}, ".R.S"},
    };
    // clang-format on
    for (const auto& c : cases) {
        NotificationRule rule;
        std::string actual;
        for (const Step& step : c.steps) {
            const Notice notice = step.state == own
                                      ? (rule.own_command(step.at_ms), Notice::none)
                                      : rule.report(step.state, step.at_ms, step.wanted);
            actual += notice == Notice::running ? 'R' : notice == Notice::stopped ? 'S' : '.';
        }
        EXPECT_EQ(c.expected, actual) << c.name;
    }
}

// The monitor reports only changes: a change the quiet time holds back must be asked about
// again when it ends, or it is never told.
TEST(NotificationRule, SaysWhenAHeldBackChangeIsToBeAskedAgain) {
    NotificationRule rule;
    rule.report(running, 0, true);
    EXPECT_EQ(Notice::stopped, rule.report(stopped, 1000, true));
    EXPECT_EQ(0u, rule.ask_again_in(1000));
    EXPECT_EQ(Notice::none, rule.report(running, 3000, true));
    EXPECT_EQ(8000u, rule.ask_again_in(3000));
    EXPECT_EQ(Notice::running, rule.report(running, 11000, true));
    EXPECT_EQ(0u, rule.ask_again_in(11000));
}
