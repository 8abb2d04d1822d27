#include "service/service_state_display.h"

#include "res/resource.h"

const ServiceStateDisplay& ServiceStateDisplay::of(unsigned long state) {
    // Indexed by the manager's state numbers, SERVICE_STOPPED (1) to SERVICE_PAUSED (7).
    static const ServiceStateDisplay rows[] = {
        // none known
        {IDS_STATE_NOT_INSTALLED, StatusIcon::warning, false, false, IDS_STATE_TEXT_NOT_INSTALLED},
        {IDS_STATE_HALTED, StatusIcon::stopped, true, false, IDS_STATE_TEXT_STOPPED},
        {IDS_STATE_STARTING, StatusIcon::pending, false, true, IDS_STATE_TEXT_STARTING},
        {IDS_STATE_STOPPING, StatusIcon::pending, false, false, IDS_STATE_TEXT_STOPPING},
        {IDS_STATE_RUNNING, StatusIcon::running, false, true, IDS_STATE_TEXT_RUNNING},
        // continue pending, pause pending, paused
        {IDS_STATE_STARTING, StatusIcon::pending, false, true, IDS_STATE_TEXT_STARTING},
        {IDS_STATE_PAUSED, StatusIcon::pending, false, true, IDS_STATE_TEXT_PAUSED},
        {IDS_STATE_PAUSED, StatusIcon::stopped, false, true, IDS_STATE_TEXT_PAUSED},
    };
    return state < sizeof rows / sizeof rows[0] ? rows[state] : rows[0];
}
