#include "service/service_state_display.h"

#include <gtest/gtest.h>
#include <tuple>

#include "res/resource.h"

TEST(ServiceStateDisplay, EveryStateHasItsTextIconAndButtons) {
    using Icon = StatusIcon;
    const struct {
        unsigned long state;
        ServiceStateDisplay shown;
    } cases[] = {
        {0, {IDS_STATE_NOT_INSTALLED, Icon::warning, false, false}},
        {1, {IDS_STATE_HALTED, Icon::stopped, true, false}},
        {2, {IDS_STATE_STARTING, Icon::pending, false, true}},
        {3, {IDS_STATE_STOPPING, Icon::pending, false, false}},
        {4, {IDS_STATE_RUNNING, Icon::running, false, true}},
        {5, {IDS_STATE_STARTING, Icon::pending, false, true}},
        {6, {IDS_STATE_PAUSED, Icon::pending, false, true}},
        {7, {IDS_STATE_PAUSED, Icon::stopped, false, true}},
        {8, {IDS_STATE_NOT_INSTALLED, Icon::warning, false, false}},
        {0xFFFFFFFFul, {IDS_STATE_NOT_INSTALLED, Icon::warning, false, false}},
    };
    const auto fields = [](const ServiceStateDisplay& row) {
        return std::make_tuple(row.text_id, static_cast<int>(row.icon), row.start_enabled,
                               row.stop_enabled);
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fields(c.shown), fields(ServiceStateDisplay::of(c.state))) << "state " << c.state;
    }
}
