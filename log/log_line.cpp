#include "log/log_line.h"

#include <cstring>
#include <string_view>

namespace {

constexpr std::string_view stop_line = "Signaling service to stop because client quitted";

} // namespace

bool split_log_line(const char* line, std::size_t length, LogLineSplit& split) {
    if (length == 0) {
        return false;
    }
    const auto* t = static_cast<const char*>(std::memchr(line, 't', length));
    if (t == nullptr) {
        return false;
    }
    const std::string_view text(line, length);
    const std::size_t colon = text.find(": ");
    if (colon == std::string_view::npos) {
        return false;
    }
    const auto t_at = static_cast<std::size_t>(t - line);
    split.date_time_length = t_at == 0 ? length : t_at - 1;
    split.entry_offset = colon + 2;
    return true;
}

bool holds_stop_line(const char* entry, std::size_t length) {
    return std::string_view(entry, length).find(stop_line) != std::string_view::npos;
}
