#include "config/clock_time.h"

#include <windows.h>

ClockTime ClockTime::now() {
    SYSTEMTIME local;
    GetLocalTime(&local);
    return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute};
}
