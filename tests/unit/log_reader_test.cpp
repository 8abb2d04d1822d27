#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "log/log_reader.h"

namespace {

// A log in memory: the file the path names can grow, shrink, be replaced or go away while
// the reader holds the one it opened. A file that went away shows once another takes its
// name, as on Windows.
struct MemoryLogFile : LogSource {
    bool open() override {
        held = at_path;
        position = 0;
        return held != nullptr;
    }
    std::size_t read(char* buffer, std::size_t capacity) override {
        if (position >= held->size()) {
            return 0;
        }
        const std::size_t count = std::min({capacity, read_limit, held->size() - position});
        std::memcpy(buffer, held->data() + position, count);
        position += count;
        return count;
    }
    bool replaced(std::uint64_t read_so_far) override {
        return held->size() < read_so_far || (at_path && at_path != held);
    }
    void close() override { held.reset(); }

    std::shared_ptr<std::string> at_path, held;
    std::size_t position = 0;
    std::size_t read_limit = SIZE_MAX; // so that lines also arrive in pieces
};

using Row = std::pair<std::string, std::string>; // Date/Time, entry
using Rows = std::vector<Row>;

// The list as a list view keeps it: an insertion beyond the end lands at the end.
struct ListModel : LogView {
    int insert_row(int position, const char* date_time) override {
        ++messages;
        if (refuse_rows) {
            return -1;
        }
        const auto at = std::min(static_cast<std::size_t>(position), rows.size());
        rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), Row(date_time, ""));
        return static_cast<int>(at);
    }
    void set_entry(int row, const char* entry) override {
        ++messages;
        rows.at(static_cast<std::size_t>(row)).second = entry;
    }
    void scroll(int pixels) override {
        ++messages;
        scrolled += pixels;
    }
    void delete_first_row() override {
        ++messages;
        if (!rows.empty()) {
            rows.erase(rows.begin());
        }
    }
    void show_stop_warning() override { warnings.push_back(rows.size()); }

    Rows rows;
    std::vector<std::size_t> warnings; // the rows in the list when each warning showed
    long long scrolled = 0;
    int messages = 0;
    bool refuse_rows = false;
};

const std::string stop = "Signaling service to stop because client quitted";
const std::string head = "2024/05/17 12:00:00 tunnel: ";
const std::string date = "2024/05/17 12:00:00";
const std::size_t limit = LogReader::line_limit;
const std::string filler(limit - head.size(), 'x');

std::string line(int n, const std::string& message = "") {
    return head + (message.empty() ? "line " + std::to_string(n) : message) + "\r\n";
}
Row row(int n, const std::string& message = "") {
    return {date, message.empty() ? "line " + std::to_string(n) : message};
}
std::string lines(int first, int last) {
    return first > last ? "" : line(first) + lines(first + 1, last);
}
Rows rows(int first, int last, Rows then = {}) {
    then.insert(then.begin(), row(last));
    return first == last ? then : rows(first, last - 1, then);
}

// A reader on an in-memory log and a list; settle() runs it to its next one-second wait.
struct Follower {
    MemoryLogFile file;
    ListModel list;
    LogReader reader{file, list};

    void settle() {
        for (int steps = 0; reader.step() == LogReader::Step::go_on; ++steps) {
            ASSERT_LT(steps, 10000000) << "the reader never waits";
        }
    }
};

// A change to the log or the list; then the reader runs on and shows rows_after rows (-1: any).
struct Change {
    std::function<void(Follower&)> act;
    int rows_after = -1;
};
Change write(const std::string& text, int rows_after = -1) {
    return {[text](Follower& f) {
                f.file.at_path = f.file.at_path ? f.file.at_path : std::make_shared<std::string>();
                f.file.at_path->append(text);
            },
            rows_after};
}
Change replace(const std::string& text) {
    return {[text](Follower& f) { f.file.at_path = std::make_shared<std::string>(text); }};
}
const Change wait = {[](Follower&) {}};
const Change truncate = {[](Follower& f) { f.file.at_path->clear(); }};
const Change remove_file = {[](Follower& f) { f.file.at_path.reset(); }};
const Change clear = {[](Follower& f) { f.list.rows.clear(); }};
const Change refuse = {[](Follower& f) { f.list.refuse_rows = true; }};

using Changes = std::vector<Change>;
using Warnings = std::vector<std::size_t>;

const struct {
    const char* name;
    Changes changes;
    Rows rows;
    Warnings warnings;
    long long count; // the running count at the end
} cases[] = {
    {"missing at start, then made: nothing it held warns, lines that do not split are dropped",
     Changes{wait, write("no lowercase T here: X\r\n\r\n2024 tunnel:x\n" + line(1) + line(2, stop)),
             write("QUIC: UP\n" + line(3))},
     Rows{row(1), row(2, stop), row(3)}, Warnings{}, 3},
    {"stop lines warn only after the first end of file, each once",
     Changes{write(line(1, stop) + line(2)), write(line(3, "[7] " + stop) + line(4)),
             write(line(5, stop) + line(6, stop))},
     Rows{row(1, stop), row(2), row(3, "[7] " + stop), row(4), row(5, stop), row(6, stop)},
     Warnings{3, 5, 6}, 6},
    {"1002 lines caught up, then 1002 followed: the newest 1001 stay",
     Changes{write(lines(1, 1002)), write(lines(1003, 2004))}, rows(1004, 2004), Warnings{}, 2004},
    {"after Clear the next line is the only row, the count goes on",
     Changes{write(lines(1, 5)), clear, write(line(6))}, Rows{row(6)}, Warnings{}, 6},
    {"a refused row still counts and warns", Changes{write(line(1)), refuse, write(line(2, stop))},
     Rows{row(1)}, Warnings{1}, 2},
    {"a line is held until its line feed, or a second without growth",
     Changes{write(line(1) + head + "li", 1), write("ne 2\r", 1), write("\n" + head + stop, 2),
             Change{wait.act, 3}, write(" later: part\r\nno split\n")},
     Rows{row(1), row(2), row(3, stop), Row(" l", "part")}, Warnings{3}, 4},
    {"64 KiB cut: past it a stop line and splittable text are passed over; at it and under it",
     Changes{write(""), write(head + filler + stop + " next: tail\r\n" + head + filler + "\r\n" +
                              head + filler.substr(1) + "\r\n" + line(2))},
     Rows{Row(date, filler), Row(date, filler), Row(date, filler.substr(1)), row(2)}, Warnings{},
     4},
    {"64 KiB cut: a stop line inside the limit warns",
     Changes{write(""), write(head + stop + filler + "more: text\n" + line(2))},
     Rows{Row(date, (stop + filler).substr(0, filler.size())), row(2)}, Warnings{1}, 2},
    {"64 KiB cut: a last line that never ends",
     Changes{write(""), write("a tunnel: " + std::string(100000, 'y')), wait},
     Rows{Row("a", std::string(limit - 10, 'y'))}, Warnings{}, 1},
    {"truncated: read again from the start, its lines count as new",
     Changes{write(lines(1, 3)), truncate, write(line(4, stop))}, rows(1, 3, {row(4, stop)}),
     Warnings{4}, 4},
    {"replaced by a longer file: only the identity tells",
     Changes{write(lines(1, 3)), replace(lines(4, 8) + line(9, stop))}, rows(1, 8, {row(9, stop)}),
     Warnings{9}, 9},
    {"removed, then made again", Changes{write(lines(1, 3)), remove_file, write(line(4, stop))},
     rows(1, 3, {row(4, stop)}), Warnings{4}, 4},
    {"the held last line of a replaced log is shown",
     Changes{write(line(1) + head + "unfinished"), replace(line(2))},
     Rows{row(1), row(0, "unfinished"), row(2)}, Warnings{}, 3},
};

TEST(LogReader, FollowsTheLogThroughEveryChange) {
    for (const auto& c : cases) {
        for (const std::size_t read_limit : {std::size_t{3}, std::size_t{4096}, limit * 16}) {
            SCOPED_TRACE(std::string(c.name) + " / read size " + std::to_string(read_limit));
            Follower f;
            f.file.read_limit = read_limit;
            for (const Change& change : c.changes) {
                change.act(f);
                f.settle();
                EXPECT_TRUE(change.rows_after < 0 || change.rows_after == int(f.list.rows.size()));
            }
            EXPECT_EQ(c.rows, f.list.rows);
            EXPECT_EQ(c.warnings, f.list.warnings);
            EXPECT_EQ(c.count, f.reader.running_count());
        }
    }
}

// The rows the line-by-line procedure leaves: every splittable line (cut to the limit)
// inserted at the running count, and the first row deleted beyond 1000.
Rows line_by_line(const std::string& log) {
    ListModel list;
    int count = 0;
    for (std::size_t start = 0, end; start < log.size(); start = end + 1) {
        end = std::min(log.find('\n', start), log.size());
        const std::size_t length = end - start - (end > start && log[end - 1] == '\r' ? 1 : 0);
        const std::string text = log.substr(start, std::min(length, limit));
        const std::size_t t = text.find('t');
        const std::size_t colon = text.find(": ");
        if (t != std::string::npos && colon != std::string::npos) {
            const int at =
                list.insert_row(count++, text.substr(0, t == 0 ? text.size() : t - 1).c_str());
            list.set_entry(at, text.substr(colon + 2).c_str());
            if (at > 1000) {
                list.delete_first_row();
            }
        }
    }
    return list.rows;
}

std::string random_log(std::mt19937& random, int line_count, std::size_t long_length) {
    std::string log;
    for (int i = 0; i < line_count; ++i) {
        const std::string long_line = head + std::string(random() % long_length, 'k');
        const std::string forms[] = {date + " QUIC: UP ",
                                     head.substr(0, head.size() - 1),
                                     "tunnel: ",
                                     "xt: 1: " + stop,
                                     "",
                                     head + "message ",
                                     head,
                                     long_line};
        log += forms[random() % 8] + std::to_string(i) + (random() % 2 ? "\r\n" : "\n");
    }
    return log + (random() % 2 ? head + "last line without its line feed" : "");
}

TEST(LogReader, CatchUpLeavesTheRowsOfTheLineByLineProcedureWithFewMessages) {
    std::mt19937 random(20240517);
    // Lines and the longest long line; the last one has more text than catch-up holds back.
    const std::pair<int, std::size_t> sizes[] = {{0, 10},      {1, 10},      {1000, 10},
                                                 {1001, 10},   {1002, 10},   {1500, 200},
                                                 {20000, 300}, {3000, 20000}};
    for (const auto& [line_count, long_length] : sizes) {
        for (int round = 0; round < 3; ++round) {
            SCOPED_TRACE(std::to_string(line_count) + " lines, round " + std::to_string(round));
            const std::string log = random_log(random, line_count, long_length);
            const Rows expected = line_by_line(log);
            Follower f;
            f.file.read_limit = 1 + random() % 100000;
            f.file.at_path = std::make_shared<std::string>(log);
            f.settle();
            f.settle(); // a last line without its line feed is taken a second later
            EXPECT_EQ(expected, f.list.rows);
            EXPECT_TRUE(f.list.warnings.empty());
            // Scrolled far enough to bring the newest row into view.
            const auto kept = static_cast<long long>(expected.size());
            EXPECT_GE(f.list.scrolled, 8 * kept * (kept - 1) / 2);
            if (long_length < 1000) { // only the rows that stay reach the list
                EXPECT_LE(f.list.messages, 2 * 1001 + 1 + 4);
            }
        }
    }
}

} // namespace
