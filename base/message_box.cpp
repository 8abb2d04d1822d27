#include "base/message_box.h"

#include <cstdio>
#include <cstring>

#include "base/bounded_text.h"
#include "base/loaded_string.h"
#include "res/resource.h"

namespace {

constexpr std::size_t system_text_capacity = 512;

// "Access is denied" does not say what would help: these failures say it, each in its own
// words. Others have nothing to offer there.
constexpr struct {
    unsigned failure_id, help_id;
} rights_help[] = {
    {IDS_ERR_START_FAILED, IDS_ERR_NEEDS_ADMIN},
    {IDS_ERR_STOP_FAILED, IDS_ERR_NEEDS_ADMIN},
    {IDS_ERR_WRITE_FAILED, IDS_ERR_WRITE_NEEDS_ADMIN},
};

} // namespace

int show_message_box(HWND owner, unsigned text_id, UINT flags) {
    return MessageBoxA(owner, LoadedString(text_id).c_str(), nullptr, flags);
}

void compose_error_text(unsigned text_id, DWORD error, char* text, std::size_t capacity) {
    std::memset(text, 0, capacity);
    append_line(text, capacity, LoadedString(text_id).c_str());
    if (error == ERROR_SUCCESS) {
        return; // nothing the system could add
    }
    const std::size_t used = std::strlen(text);
    char* const reason = text + used;
    const std::size_t room = capacity - used;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, reason, static_cast<DWORD>(room), nullptr);
    // The system ends its texts with a line break that a box does not need.
    while (length > 0 && std::strchr("\r\n ", reason[length - 1]) != nullptr) {
        reason[--length] = '\0';
    }
    if (length == 0) {
        std::snprintf(reason, room, "%lu", static_cast<unsigned long>(error));
    }
    if (error != ERROR_ACCESS_DENIED) {
        return;
    }
    for (const auto& help : rights_help) {
        if (help.failure_id == text_id) {
            const std::size_t end = std::strlen(text);
            std::snprintf(text + end, capacity - end, "\n%s", LoadedString(help.help_id).c_str());
        }
    }
}

int show_message_box(HWND owner, unsigned text_id, DWORD error, UINT flags) {
    char text[LoadedString::capacity * 2 + system_text_capacity];
    compose_error_text(text_id, error, text, sizeof text);
    return MessageBoxA(owner, text, nullptr, flags);
}
