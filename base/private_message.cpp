#include "base/private_message.h"

#include <ntsecapi.h>

namespace {

LPARAM private_key() {
    // Made on first use, which the language makes safe across threads, and never changed.
    static const LPARAM key = [] {
        LPARAM value = 0;
        // The clock as a last resort: still nothing another process can read off a window.
        if (!RtlGenRandom(&value, sizeof value) || value == 0) {
            LARGE_INTEGER counter = {};
            QueryPerformanceCounter(&counter);
            value = static_cast<LPARAM>(counter.QuadPart * 0x9E3779B97F4A7C15ULL) | 1;
        }
        return value;
    }();
    return key;
}

} // namespace

bool post_private_message(HWND window, UINT message, WPARAM value) {
    return PostMessageA(window, message, value, private_key()) != FALSE;
}

bool carries_private_key(LPARAM lparam) {
    return lparam == private_key();
}
