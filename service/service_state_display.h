// How each state of the service shows in the status line: the tooltip text, the icon, the state
// in words, and whether Start and Stop can be pressed.
#pragma once

enum class StatusIcon { warning, stopped, pending, running };

struct ServiceStateDisplay {
    unsigned text_id; // the tooltip's, in capitals
    StatusIcon icon;
    unsigned word_id; // beside the icon, its name for a screen reader, and in the tray's tip
    bool start_enabled;
    bool stop_enabled;

    // The row for a state as the service manager reports it; 0 (no state known) and any
    // value it does not know show as not installed.
    static const ServiceStateDisplay& of(unsigned long state);
};
