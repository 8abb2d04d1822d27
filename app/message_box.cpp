#include "app/message_box.h"

#include <cstdio>
#include <cstring>

#include "app/loaded_string.h"
#include "config/bounded_text.h"

namespace {
constexpr std::size_t system_text_capacity = 512;
}

int show_message_box(HWND owner, unsigned text_id, UINT flags) {
    return MessageBoxA(owner, LoadedString(text_id).c_str(), nullptr, flags);
}

int show_message_box(HWND owner, unsigned text_id, DWORD error, UINT flags) {
    char text[LoadedString::capacity + system_text_capacity] = {};
    append_line(text, sizeof text, LoadedString(text_id).c_str());
    const std::size_t used = std::strlen(text);
    char* const reason = text + used;
    const std::size_t room = sizeof text - used;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, reason, static_cast<DWORD>(room), nullptr);
    // The system ends its texts with a line break that a box does not need.
    while (length > 0 && std::strchr("\r\n ", reason[length - 1]) != nullptr) {
        reason[--length] = '\0';
    }
    if (length == 0) {
        std::snprintf(reason, room, "%lu", static_cast<unsigned long>(error));
    }
    return MessageBoxA(owner, text, nullptr, flags);
}
