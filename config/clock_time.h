// The local date and time to the minute, as the written configuration file is stamped.
#pragma once

struct ClockTime {
    int year;
    int month;  // 1..12
    int day;    // 1..31
    int hour;   // 0..23
    int minute; // 0..59

    // Now, from the local clock.
    static ClockTime now();
};
