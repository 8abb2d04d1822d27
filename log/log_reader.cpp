#include "log/log_reader.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

// Large reads keep catch-up at the speed of the disk.
constexpr std::size_t read_size = 256 * 1024;

int as_position(long long value) {
    return static_cast<int>(std::min<long long>(value, INT_MAX));
}

} // namespace

LogReader::LogReader(LogSource& source, LogView& view)
    : source_(source), view_(view), buffer_(new char[read_size]), pending_(row_limit) {}

LogReader::Step LogReader::step() {
    if (!open_) {
        if (!source_.open()) {
            return Step::wait;
        }
        open_ = true;
        position_ = 0;
        return Step::go_on;
    }
    const std::size_t size = source_.read(buffer_.get(), read_size);
    if (size > 0) {
        position_ += size;
        partial_waited_ = false;
        consume(buffer_.get(), size);
        return Step::go_on;
    }
    if (!caught_up_) {
        caught_up_ = true;
        show_pending();
    }
    if (source_.replaced(position_)) {
        // The old file's last line will never get its line feed now.
        end_partial_line();
        source_.close();
        open_ = false;
        return Step::go_on;
    }
    if (!partial_.empty() || overlong_) {
        // The client gets a second to finish its line; a file that did not grow meanwhile
        // ends with a line that has no line feed.
        if (partial_waited_) {
            end_partial_line();
        } else {
            partial_waited_ = true;
        }
    }
    return Step::wait;
}

void LogReader::consume(const char* bytes, std::size_t size) {
    const char* const end = bytes + size;
    while (bytes < end) {
        const auto* feed = static_cast<const char*>(
            std::memchr(bytes, '\n', static_cast<std::size_t>(end - bytes)));
        if (feed == nullptr) {
            hold(bytes, static_cast<std::size_t>(end - bytes));
            break;
        }
        const auto length = static_cast<std::size_t>(feed - bytes);
        if (partial_.empty() && !overlong_) {
            // The usual case: the whole line lies in the buffer and is split where it is.
            std::size_t kept = length;
            if (kept > 0 && bytes[kept - 1] == '\r') {
                --kept;
            }
            take_line(bytes, std::min(kept, line_limit), true);
        } else {
            hold(bytes, length);
            end_partial_line();
        }
        bytes = feed + 1;
    }
    hold_back_newest_in_buffer();
}

void LogReader::hold(const char* bytes, std::size_t size) {
    const std::size_t room = line_limit - partial_.size();
    if (size > room) {
        overlong_ = true;
        size = room;
    }
    partial_.append(bytes, size);
}

void LogReader::end_partial_line() {
    std::size_t length = partial_.size();
    // A carriage return is the first half of the client's line end; past the limit the
    // held text is all the line's own.
    if (!overlong_ && length > 0 && partial_[length - 1] == '\r') {
        --length;
    }
    if (length > 0 || overlong_) {
        take_line(partial_.data(), length, false);
    }
    partial_.clear();
    overlong_ = false;
    partial_waited_ = false;
}

void LogReader::take_line(const char* line, std::size_t length, bool in_buffer) {
    LogLineSplit split = {};
    if (!split_log_line(line, length, split)) {
        return;
    }
    if (caught_up_) {
        show_row(line, length, split);
        return;
    }
    // While catching up only the newest rows can outlast the row limit: of a buffer's lines
    // only the last ones are worth a copy.
    if (in_buffer) {
        in_buffer_.push_back({line, length, split, running_count_});
    } else {
        hold_back(line, length, split, running_count_);
    }
    ++running_count_;
}

void LogReader::hold_back_newest_in_buffer() {
    const std::size_t skipped = in_buffer_.size() > static_cast<std::size_t>(row_limit)
                                    ? in_buffer_.size() - static_cast<std::size_t>(row_limit)
                                    : 0;
    for (std::size_t index = skipped; index < in_buffer_.size(); ++index) {
        const LineInBuffer& held = in_buffer_[index];
        hold_back(held.line, held.length, held.split, held.index);
    }
    in_buffer_.clear();
}

void LogReader::hold_back(const char* line, std::size_t length, const LogLineSplit& split,
                          long long index) {
    // Shown at the first end of file, or earlier when they hold too much text.
    pending_.push(line, length, split, index);
    if (pending_.bytes() > pending_budget) {
        view_.in_one_go([this] { show_pending_down_to(pending_budget / 2); });
    }
}

int LogReader::send_row(long long index, const char* line, std::size_t length,
                        const LogLineSplit& split) {
    date_time_.assign(line, split.date_time_length);
    const int position = view_.insert_row(as_position(index), date_time_.c_str());
    if (position >= 0) {
        entry_.assign(line + split.entry_offset, length - split.entry_offset);
        view_.set_entry(position, entry_.c_str());
    }
    return position;
}

void LogReader::show_row(const char* line, std::size_t length, const LogLineSplit& split) {
    const int position = send_row(running_count_, line, length, split);
    if (position >= 0) {
        view_.scroll(as_position(static_cast<long long>(scroll_per_row) * position));
    }
    if (holds_stop_line(line + split.entry_offset, length - split.entry_offset)) {
        view_.show_stop_warning();
    }
    if (position >= row_limit) {
        view_.delete_first_row();
    }
    ++running_count_;
}

void LogReader::send_oldest_pending() {
    const PendingRows::Row& row = pending_.oldest();
    const int position = send_row(row.index, row.line.data(), row.line.size(), row.split);
    if (position >= 0) {
        // One scroll at the end covers the distance of all the rows' own scrolls.
        pending_scroll_ += static_cast<long long>(scroll_per_row) * position;
    }
    if (position >= row_limit) {
        view_.delete_first_row();
    }
    pending_.pop_oldest();
}

void LogReader::show_pending_down_to(std::size_t bytes) {
    while (!pending_.empty() && pending_.bytes() > bytes) {
        send_oldest_pending();
    }
}

void LogReader::show_pending() {
    view_.in_one_go([this] {
        while (!pending_.empty()) {
            send_oldest_pending();
        }
        // After the rows, once the list has taken them all: only then does it know how far
        // down it can go.
        if (pending_scroll_ > 0) {
            view_.scroll(as_position(pending_scroll_));
        }
        pending_scroll_ = 0;
    });
}
