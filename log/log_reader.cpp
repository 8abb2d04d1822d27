#include "log/log_reader.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Large reads keep a whole read at the speed of the disk.
constexpr std::size_t read_size = 256 * 1024;
// Looking back from the end takes smaller steps: the rows shown usually lie in the last one.
constexpr std::size_t back_block = 64 * 1024;

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

// Whether a line makes a row, told from its pieces last first: a row needs a 't' and a ": "
// anywhere in the line, and where they stand matters only to the forward read.
class RowMarks {
public:
    // The piece just before those seen so far.
    void see(const char* piece, std::size_t size) {
        if (size == 0) {
            return;
        }
        t_ = t_ || std::memchr(piece, 't', size) != nullptr;
        colon_space_ = colon_space_ || (piece[size - 1] == ':' && next_ == ' ') ||
                       std::string_view(piece, size).find(": ") != std::string_view::npos;
        next_ = piece[0];
    }
    bool row() const { return t_ && colon_space_; }

private:
    bool t_ = false;
    bool colon_space_ = false;
    char next_ = '\0'; // the first byte of the pieces seen
};

// A file read backwards a block at a time, for its line feeds from the last one back.
class BackwardScan {
public:
    enum class Found { feed, file_start, shrunk };

    BackwardScan(LogSource& source, char* buffer, std::uint64_t end)
        : source_(source), buffer_(buffer), start_(end), end_(end) {}

    // The last line feed before `before`; the bytes between them go to marks.
    Found feed_before(std::uint64_t before, std::uint64_t& feed, RowMarks& marks) {
        for (;;) {
            const char* const piece_end = buffer_ + (before - start_);
            const char* at = piece_end;
            while (at != buffer_ && at[-1] != '\n') {
                --at;
            }
            marks.see(at, static_cast<std::size_t>(piece_end - at));
            if (at != buffer_) {
                feed = start_ + static_cast<std::uint64_t>(at - 1 - buffer_);
                return Found::feed;
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
    if (!partial_.empty()) {
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
    // What follows the last line feed is a line the client has not finished: it is taken
    // after catch-up, as any such line, and is none of catch-up's rows.
    RowMarks unfinished;
    std::uint64_t line_end = 0;
    Found found = scan.feed_before(end, line_end, unfinished);
    std::size_t rows = 0;
    while (found == Found::feed) {
        RowMarks line;
        std::uint64_t feed = 0;
        found = scan.feed_before(line_end, feed, line);
        if (found == Found::shrunk) {
            return false;
        }
        if (line.row() && ++rows == row_limit) {
            position_ = found == Found::feed ? feed + 1 : 0;
            break;
        }
        line_end = feed;
    }
    // A log moved away meanwhile still holds what the look back saw: it is read to its end
    // and the new one then from its start, as for a move once caught up. Only a shrunk log
    // has lost that.
    return !source_.replaced(end) || source_.size() >= end;
}

std::size_t LogReader::consume(const char* bytes, std::size_t size) {
    const char* const end = bytes + size;
    while (bytes < end) {
        const auto* feed = static_cast<const char*>(
            std::memchr(bytes, '\n', static_cast<std::size_t>(end - bytes)));
        if (feed == nullptr) {
            hold(bytes, static_cast<std::size_t>(end - bytes));
            break;
        }
        auto length = static_cast<std::size_t>(feed - bytes);
        if (partial_.empty()) {
            // The usual case: the whole line lies in the buffer and is split where it is.
            if (length > 0 && bytes[length - 1] == '\r') {
                --length;
            }
            LogRowTexts texts;
            if (split_log_line(bytes, length, line_limit, texts)) {
                take_row(texts, true, !caught_up_);
            }
        } else {
            hold(bytes, length);
            end_partial_line();
        }
        bytes = feed + 1;
    }
    hold_back_newest_in_buffer();
    return size;
}

void LogReader::hold(const char* bytes, std::size_t size) {
    if (partial_.empty()) {
        partial_from_catch_up_ = !caught_up_;
    }
    partial_.append(bytes, size);
}

void LogReader::end_partial_line() {
    LogRowTexts texts;
    if (partial_.end(texts)) {
        take_row(texts, false, partial_from_catch_up_);
    }
    partial_.clear();
    partial_waited_ = false;
}

void LogReader::take_row(const LogRowTexts& texts, bool in_buffer, bool from_catch_up) {
    // Only the newest rows can outlast the row limit: of a buffer's lines only the last ones
    // are worth a copy.
    if (in_buffer) {
        in_buffer_.push_back(texts);
    } else {
        hold_back(texts);
    }
    ++running_count_;
    if (!from_catch_up && holds_stop_line(texts.entry)) {
        ++warnings_;
    }
}

void LogReader::hold_back_newest_in_buffer() {
    const std::size_t skipped = in_buffer_.size() > row_limit ? in_buffer_.size() - row_limit : 0;
    for (std::size_t index = skipped; index < in_buffer_.size(); ++index) {
        hold_back(in_buffer_[index]);
    }
    in_buffer_.clear();
}

void LogReader::hold_back(const LogRowTexts& texts) {
    // Shown at the end of the file or at a stop line, or earlier when they hold too much text.
    pending_.push(texts.date_time, texts.entry, holds_stop_line(texts.entry));
    if (pending_.bytes() > pending_budget) {
        show_pending_down_to(pending_budget / 2);
    }
}

void LogReader::show_pending_down_to(std::size_t bytes) {
    // Down to 0 bytes is all of them, rows without text too.
    LogBatch batch;
    batch.rows.reserve(pending_.size());
    while (!pending_.empty() && (bytes == 0 || pending_.bytes() > bytes)) {
        const PendingRows::Row& row = pending_.oldest();
        batch.rows.push_back({row.date_time, row.entry, row.stop});
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
