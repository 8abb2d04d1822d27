// How each state of the service shows in the status line: the tooltip text, the icon and
// whether Start and Stop can be pressed; and the word for it in the notification area's tip.
#pragma once

enum class StatusIcon { warning, stopped, pending, running };

struct ServiceStateDisplay {
    unsigned text_id;
    StatusIcon icon;
    bool start_enabled;
    bool stop_enabled;
    unsigned word_id;

    // The row for a state as the service manager reports it; 0 (no state known) and any
    // value it does not know show as not installed.
    static const ServiceStateDisplay& of(unsigned long state);
};
