#include "log/log_line.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::string_view stop_line = "Signaling service to stop because client quitted";

const char* past_nuls(const char* text, const char* end) {
    return std::find_if(text, end, [](char c) { return c != '\0'; });
}

} // namespace

bool split_log_line(const char* line, std::size_t length, std::size_t limit, LogRowTexts& texts) {
    if (length == 0) {
        return false;
    }
    const auto* t = static_cast<const char*>(std::memchr(line, 't', length));
    if (t == nullptr) {
        return false;
    }
    const std::size_t colon = std::string_view(line, length).find(": ");
    if (colon == std::string_view::npos) {
        return false;
    }
    const auto t_at = static_cast<std::size_t>(t - line);
    texts.date_time = kept_text(line, t_at == 0 ? length : t_at - 1, limit);
    texts.entry = kept_text(line + colon + 2, length - colon - 2, limit);
    return true;
}

std::string_view kept_text(const char* text, std::size_t length, std::size_t limit) {
    const char* const start = past_nuls(text, text + length);
    return {start, std::min(static_cast<std::size_t>(text + length - start), limit)};
}

bool holds_stop_line(std::string_view entry) {
    return entry.find(stop_line) != std::string_view::npos;
}

void LogLine::append(const char* bytes, std::size_t size) {
    if (size == 0) {
        return;
    }
    if (!date_time_done_) {
        std::size_t before_t = size;
        if (!t_seen_) {
            const auto* t = static_cast<const char*>(std::memchr(bytes, 't', size));
            if (t != nullptr) {
                t_seen_ = true;
                before_t = static_cast<std::size_t>(t - bytes);
                t_opens_ = length_ == 0 && before_t == 0;
                date_time_done_ = !t_opens_;
            }
        }
        if (!date_time_done_) {
            keep(date_time_, date_time_cut_, bytes, size);
        } else if (before_t > 0) {
            keep(date_time_, date_time_cut_, bytes, before_t - 1); // less the one before the t
        } else if (!date_time_cut_ && !date_time_.empty()) {
            date_time_.pop_back(); // that one ended the last piece, and was kept
        }
    }
    if (colon_seen_) {
        keep(entry_, entry_cut_, bytes, size);
    } else {
        // The pair may straddle two pieces.
        std::size_t after = last_ == ':' && bytes[0] == ' ' ? 1 : std::string_view::npos;
        if (after == std::string_view::npos) {
            const std::size_t colon = std::string_view(bytes, size).find(": ");
            after = colon == std::string_view::npos ? colon : colon + 2;
        }
        if (after != std::string_view::npos) {
            colon_seen_ = true;
            keep(entry_, entry_cut_, bytes + after, size - after);
        }
    }
    length_ += size;
    last_ = bytes[size - 1];
}

bool LogLine::end(LogRowTexts& texts) {
    if (!t_seen_ || !colon_seen_) {
        return false;
    }
    // A text cut at the limit never kept the carriage return.
    if (last_ == '\r') {
        if (t_opens_ && !date_time_cut_) {
            date_time_.pop_back();
        }
        if (!entry_cut_ && !entry_.empty()) {
            entry_.pop_back();
        }
    }
    texts.date_time = date_time_;
    texts.entry = entry_;
    return true;
}

void LogLine::clear() {
    *this = LogLine(limit_); // a long line's texts give their memory back
}

void LogLine::keep(std::string& text, bool& cut, const char* bytes, std::size_t size) {
    const char* const end = bytes + size;
    if (text.empty()) {
        bytes = past_nuls(bytes, end);
    }
    const auto left = static_cast<std::size_t>(end - bytes);
    const std::size_t room = limit_ - text.size();
    cut = cut || left > room;
    text.append(bytes, std::min(left, room));
}
