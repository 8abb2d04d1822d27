#include "service/service_state_display.h"

#include <gtest/gtest.h>

#include "res/resource.h"

TEST(ServiceStateDisplay, EveryStateHasItsTextIconAndButtons) {
    struct Case {
        unsigned long state;
        unsigned text_id;
        StatusIcon icon;
        bool start;
        bool stop;
    };
    const Case cases[] = {
        {0, IDS_STATE_NOT_INSTALLED, StatusIcon::warning, false, false},
        {1, IDS_STATE_HALTED, StatusIcon::stopped, true, false},
        {2, IDS_STATE_STARTING, StatusIcon::pending, false, true},
        {3, IDS_STATE_STOPPING, StatusIcon::pending, false, false},
        {4, IDS_STATE_RUNNING, StatusIcon::running, false, true},
        {5, IDS_STATE_STARTING, StatusIcon::pending, false, true},
        {6, IDS_STATE_PAUSED, StatusIcon::pending, false, true},
        {7, IDS_STATE_PAUSED, StatusIcon::stopped, false, true},
        {8, IDS_STATE_NOT_INSTALLED, StatusIcon::warning, false, false},
        {0xFFFFFFFFul, IDS_STATE_NOT_INSTALLED, StatusIcon::warning, false, false},
    };
    for (const Case& c : cases) {
        const ServiceStateDisplay& row = ServiceStateDisplay::of(c.state);
        EXPECT_EQ(c.text_id, row.text_id) << "state " << c.state;
        EXPECT_EQ(c.icon, row.icon) << "state " << c.state;
        EXPECT_EQ(c.start, row.start_enabled) << "state " << c.state;
        EXPECT_EQ(c.stop, row.stop_enabled) << "state " << c.state;
    }
}
