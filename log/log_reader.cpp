#include "log/log_reader.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Large reads keep a whole read at the speed of the disk.
constexpr std::size_t read_size = 256 * 1024;
// Looking back from the end takes smaller steps: the rows shown usually lie in the last one.
constexpr std::size_t back_block = 64 * 1024;

// A line's text as shown: without the carriage return of its line end, cut to the limit. A
// line longer than limit + 1 bytes needs only its first limit + 1 of them.
std::size_t shown_length(const char* line, std::size_t length) {
    if (length > 0 && line[length - 1] == '\r') {
        --length;
    }
    return std::min(length, LogReader::line_limit);
}

// False when the file ends before size bytes from offset: it shrank under the reader.
bool read_fully(LogSource& source, std::uint64_t offset, char* buffer, std::size_t size) {
    while (size > 0) {
        const std::size_t got = source.read(offset, buffer, size);
        if (got == 0) {
            return false;
        }
        offset += got;
        buffer += got;
        size -= got;
    }
    return true;
}

// A file read backwards a block at a time, for its line feeds from the last one back.
class BackwardScan {
public:
    enum class Found { feed, file_start, shrunk };

    BackwardScan(LogSource& source, char* buffer, std::uint64_t end)
        : source_(source), buffer_(buffer), start_(end), end_(end) {}

    // The last line feed before `before`.
    Found feed_before(std::uint64_t before, std::uint64_t& feed) {
        for (;;) {
            const char* at = buffer_ + (before - start_);
            while (at != buffer_) {
                if (*--at == '\n') {
                    feed = start_ + static_cast<std::uint64_t>(at - buffer_);
                    return Found::feed;
                }
            }
            if (start_ == 0) {
                return Found::file_start;
            }
            before = end_ = start_;
            start_ = end_ > back_block ? end_ - back_block : 0;
            if (!read_fully(source_, start_, buffer_, static_cast<std::size_t>(end_ - start_))) {
                return Found::shrunk;
            }
        }
    }

    // The first length bytes from offset: in the block, or else read into spare.
    const char* bytes_at(std::uint64_t offset, std::size_t length, std::string& spare) {
        if (offset >= start_ && offset + length <= end_) {
            return buffer_ + (offset - start_);
        }
        spare.resize(length);
        return read_fully(source_, offset, &spare[0], length) ? spare.data() : nullptr;
    }

private:
    LogSource& source_;
    char* buffer_;
    std::uint64_t start_; // the block in the buffer
    std::uint64_t end_;
};

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
        // A log met at start is caught up with from its end back; a file that takes its name
        // later is new to the user and read from its start.
        if (!caught_up_ && !find_catch_up_start()) {
            source_.close(); // it shrank under the look back: again, from its new end
            open_ = false;
        }
        return Step::go_on;
    }
    const std::size_t size = source_.read(position_, buffer_.get(), read_size);
    if (size > 0) {
        partial_waited_ = false;
        position_ += consume(buffer_.get(), size);
        if (warnings_ > 0) {
            show_pending(); // the user is told at once, with the rows up to the stop line
        }
        return Step::go_on;
    }
    caught_up_ = true;
    show_pending();
    if (leaving_) {
        leave_file();
        return Step::go_on;
    }
    if (source_.replaced(position_)) {
        // The client may have written to it after the read above found its end and before it
        // let go of the name: one more read to its end first.
        leaving_ = true;
        return Step::go_on;
    }
    if (!partial_.empty() || overlong_) {
        // The client gets a second to finish its line; a file that did not grow meanwhile
        // ends with a line that has no line feed.
        if (partial_waited_) {
            end_partial_line();
            show_pending();
        } else {
            partial_waited_ = true;
        }
    }
    return Step::wait;
}

bool LogReader::find_catch_up_start() {
    using Found = BackwardScan::Found;
    const std::uint64_t end = source_.size();
    BackwardScan scan(source_, buffer_.get(), end);
    std::string long_line_head; // only for a line longer than a block
    // What follows the last line feed is a line the client has not finished: it is taken
    // after catch-up, as any such line, and is none of catch-up's rows.
    std::uint64_t line_end = 0;
    Found found = scan.feed_before(end, line_end);
    std::size_t rows = 0;
    while (found == Found::feed) {
        std::uint64_t feed = 0;
        found = scan.feed_before(line_end, feed);
        const std::uint64_t line_start = found == Found::feed ? feed + 1 : 0;
        const auto length = static_cast<std::size_t>(
            std::min<std::uint64_t>(line_end - line_start, line_limit + 1));
        const char* line =
            found == Found::shrunk ? nullptr : scan.bytes_at(line_start, length, long_line_head);
        if (line == nullptr) {
            return false;
        }
        LogLineSplit split = {};
        if (split_log_line(line, shown_length(line, length), split) && ++rows == row_limit) {
            position_ = line_start;
            break;
        }
        line_end = feed;
    }
    if (found == Found::shrunk) {
        return false;
    }
    // A log moved away meanwhile still holds what the look back saw: it is read to its end
    // and the new one then from its start, as for a move once caught up. Only a shrunk log
    // has lost that.
    return !source_.replaced(end) || source_.size() >= end;
}

std::size_t LogReader::consume(const char* bytes, std::size_t size) {
    const char* const start = bytes;
    const char* const end = bytes + size;
    while (bytes < end) {
        const auto* feed = static_cast<const char*>(
            std::memchr(bytes, '\n', static_cast<std::size_t>(end - bytes)));
        if (feed == nullptr) {
            hold(bytes, static_cast<std::size_t>(end - bytes));
            bytes = end;
            break;
        }
        const auto length = static_cast<std::size_t>(feed - bytes);
        if (partial_.empty() && !overlong_) {
            // The usual case: the whole line lies in the buffer and is split where it is.
            take_line(bytes, shown_length(bytes, length), true, !caught_up_);
        } else {
            hold(bytes, length);
            end_partial_line();
        }
        bytes = feed + 1;
    }
    hold_back_newest_in_buffer();
    return static_cast<std::size_t>(bytes - start);
}

void LogReader::hold(const char* bytes, std::size_t size) {
    if (partial_.empty() && !overlong_) {
        partial_from_catch_up_ = !caught_up_;
    }
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
        take_line(partial_.data(), length, false, partial_from_catch_up_);
    }
    partial_.clear();
    overlong_ = false;
    partial_waited_ = false;
}

void LogReader::take_line(const char* line, std::size_t length, bool in_buffer,
                          bool from_catch_up) {
    LogLineSplit split = {};
    if (!split_log_line(line, length, split)) {
        return;
    }
    // Only the newest rows can outlast the row limit: of a buffer's lines only the last ones
    // are worth a copy.
    if (in_buffer) {
        in_buffer_.push_back({line, length, split});
    } else {
        hold_back(line, length, split);
    }
    ++running_count_;
    if (!from_catch_up && holds_stop_line(line + split.entry_offset, length - split.entry_offset)) {
        ++warnings_;
    }
}

void LogReader::hold_back_newest_in_buffer() {
    const std::size_t skipped = in_buffer_.size() > row_limit ? in_buffer_.size() - row_limit : 0;
    for (std::size_t index = skipped; index < in_buffer_.size(); ++index) {
        const LineInBuffer& held = in_buffer_[index];
        hold_back(held.line, held.length, held.split);
    }
    in_buffer_.clear();
}

void LogReader::hold_back(const char* line, std::size_t length, const LogLineSplit& split) {
    // Shown at the end of the file or at a stop line, or earlier when they hold too much text.
    pending_.push(line, length, split);
    if (pending_.bytes() > pending_budget) {
        show_pending_down_to(pending_budget / 2);
    }
}

void LogReader::show_pending_down_to(std::size_t bytes) {
    // Every row has text, so down to 0 bytes is all of them.
    LogBatch batch;
    batch.rows.reserve(pending_.size());
    while (!pending_.empty() && pending_.bytes() > bytes) {
        const PendingRows::Row& row = pending_.oldest();
        batch.rows.push_back({row.line.substr(0, row.split.date_time_length),
                              row.line.substr(row.split.entry_offset)});
        pending_.pop_oldest();
    }
    batch.warnings = std::exchange(warnings_, 0);
    view_.show(std::move(batch));
}

void LogReader::show_pending() {
    if (!pending_.empty() || warnings_ > 0) {
        show_pending_down_to(0);
    }
}

void LogReader::leave_file() {
    // The old file's last line will never get its line feed now.
    end_partial_line();
    show_pending();
    source_.close();
    open_ = false;
    leaving_ = false;
}
