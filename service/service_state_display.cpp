#include "service/service_state_display.h"

#include "res/resource.h"

const ServiceStateDisplay& ServiceStateDisplay::of(unsigned long state) {
    // Indexed by the manager's state numbers, SERVICE_STOPPED (1) to SERVICE_PAUSED (7).
    static const ServiceStateDisplay rows[] = {
        {IDS_STATE_NOT_INSTALLED, StatusIcon::warning, false, false}, // none known
        {IDS_STATE_HALTED, StatusIcon::stopped, true, false},         // stopped
        {IDS_STATE_STARTING, StatusIcon::pending, false, true},       // start pending
        {IDS_STATE_STOPPING, StatusIcon::pending, false, false},      // stop pending
        {IDS_STATE_RUNNING, StatusIcon::running, false, true},        // running
        {IDS_STATE_STARTING, StatusIcon::pending, false, true},       // continue pending
        {IDS_STATE_PAUSED, StatusIcon::pending, false, true},         // pause pending
        {IDS_STATE_PAUSED, StatusIcon::stopped, false, true},         // paused
    };
    return state < sizeof rows / sizeof rows[0] ? rows[state] : rows[0];
}
