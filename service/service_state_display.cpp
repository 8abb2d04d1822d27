#include "service/service_state_display.h"

#include "res/resource.h"

const ServiceStateDisplay& ServiceStateDisplay::of(unsigned long state) {
    // Indexed by the manager's state numbers, SERVICE_STOPPED (1) to SERVICE_PAUSED (7).
    static const ServiceStateDisplay rows[] = {
        // none known
        {IDS_STATE_NOT_INSTALLED, StatusIcon::warning, IDS_STATE_TEXT_NOT_INSTALLED, false, false},
        {IDS_STATE_HALTED, StatusIcon::stopped, IDS_STATE_TEXT_STOPPED, true, false}, // stopped
        {IDS_STATE_STARTING, StatusIcon::pending, IDS_STATE_TEXT_STARTING, false, true},
        {IDS_STATE_STOPPING, StatusIcon::pending, IDS_STATE_TEXT_STOPPING, false, false},
        {IDS_STATE_RUNNING, StatusIcon::running, IDS_STATE_TEXT_RUNNING, false, true},
        {IDS_STATE_STARTING, StatusIcon::pending, IDS_STATE_TEXT_STARTING, false, true}, // continue
        {IDS_STATE_PAUSED, StatusIcon::pending, IDS_STATE_TEXT_PAUSED, false,
         true}, // pause pending
        {IDS_STATE_PAUSED, StatusIcon::stopped, IDS_STATE_TEXT_PAUSED, false, true}, // paused
    };
    return state < sizeof rows / sizeof rows[0] ? rows[state] : rows[0];
}
