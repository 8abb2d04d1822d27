#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "log/log_reader.h"

namespace {

using Row = std::pair<std::string, std::string>; // Date/Time, entry
using Rows = std::vector<Row>;

// A log in memory and the list a list view keeps, with a reader between them; settle() runs
// the reader to its next one-second wait. The file the path names can grow, shrink, be
// replaced or go away while the reader holds the one it opened (a file that went away shows
// once another takes its name, as on Windows); reads stop at an odd size. An insertion beyond
// the end of the list lands at its end.
struct Follower : LogSource, LogView {
    bool open() override {
        held = at_path;
        offset = 0;
        return held != nullptr;
    }
    std::size_t read(char* buffer, std::size_t capacity) override {
        const auto piece = held->substr(std::min(offset, held->size()), std::min(capacity, odd));
        offset += piece.copy(buffer, piece.size());
        return piece.size();
    }
    bool replaced(std::uint64_t read_so_far) override {
        return held->size() < read_so_far || (at_path && at_path != held);
    }
    void close() override { held.reset(); }

    int insert_row(int position, const char* date_time) override {
        const auto at = std::min(static_cast<std::size_t>(position), rows.size());
        ++messages;
        if (refuse_rows) {
            return -1;
        }
        rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), Row(date_time, ""));
        return static_cast<int>(at);
    }
    void set_entry(int row, const char* entry) override {
        ++messages, rows.at(static_cast<std::size_t>(row)).second = entry;
    }
    void scroll(int pixels) override { ++messages, scrolled += pixels; }
    void delete_first_row() override {
        ++messages, rows.erase(rows.begin(), rows.begin() + !rows.empty());
    }
    void show_stop_warning() override { warnings.push_back(rows.size()); }

    void settle() {
        for (int steps = 0; reader.step() == LogReader::Step::go_on; ++steps) {
            ASSERT_LT(steps, 10000000) << "the reader never waits";
        }
    }

    std::shared_ptr<std::string> at_path, held;
    std::size_t offset = 0;
    const std::size_t odd = 100003;
    Rows rows;
    std::vector<std::size_t> warnings; // the rows in the list when each warning showed
    long long scrolled = 0;
    int messages = 0;
    bool refuse_rows = false;
    LogReader reader{*this, *this};
};

const std::string stop = "Signaling service to stop because client quitted";
const std::string head = "2024/05/17 12:00:00 tunnel: ";
const std::string date = head.substr(0, 19);
const std::string filler(LogReader::line_limit - head.size(), 'x');

std::string line(const std::string& entry) {
    return head + entry + "\r\n";
}
Row row(const std::string& entry) {
    return {date, entry};
}
// Rows "line first" to "line last", their entries padded with dots, and the log they come from.
Rows rows(int first, int last, std::size_t pad = 0) {
    Rows result;
    for (int n = first; n <= last; ++n) {
        result.push_back(row("line " + std::to_string(n) + std::string(pad, '.')));
    }
    return result;
}
std::string lines(int first, int last, std::size_t pad = 0) {
    std::string text;
    for (const Row& r : rows(first, last, pad)) {
        text += line(r.second);
    }
    return text;
}

// A change to the log or the list; then the reader runs on and shows rows_after rows (-1: any).
struct Change {
    std::function<void(Follower&)> act;
    int rows_after = -1;
};
Change write(const std::string& text, int rows_after = -1) {
    return {[text](Follower& f) {
                auto& file = f.at_path;
                (file ? file : file = std::make_shared<std::string>())->append(text);
            },
            rows_after};
}
Change replace(const std::string& text) {
    return {[text](Follower& f) { f.at_path = std::make_shared<std::string>(text); }};
}
const Change wait = {[](Follower&) {}};
const Change clear = {[](Follower& f) { f.rows.clear(); }};
const Change refuse = {[](Follower& f) { f.refuse_rows = true; }};
const Change truncate = {[](Follower& f) { f.at_path->clear(); }};
const Change remove_file = {[](Follower& f) { f.at_path.reset(); }};

using Changes = std::vector<Change>;
using Warnings = std::vector<std::size_t>;

const struct {
    const char* name;
    Changes changes;
    Rows rows;
    Warnings warnings;
    long long count; // the running count at the end
} cases[] = {
    {"missing at start, then made: lines that do not split are dropped, stop lines warn only "
     "after the first end of file, each once",
     Changes{wait, write("no lowercase T here: X\r\n\r\n2024 tunnel:x\n" + line(stop) + line("b")),
             write("QUIC: UP\n" + line("[7] " + stop) + line("d")), write(line(stop) + line(stop))},
     Rows{row(stop), row("b"), row("[7] " + stop), row("d"), row(stop), row(stop)},
     Warnings{3, 5, 6}, 6},
    {"1002 lines caught up, then 1002 followed: the newest 1001 stay",
     Changes{write(lines(1, 1002)), write(lines(1003, 2004))}, rows(1004, 2004), Warnings{}, 2004},
    {"catch-up holding back more text than it may keeps the newest 1001",
     Changes{write(lines(1, 1100, 5000))}, rows(100, 1100, 5000), Warnings{}, 1100},
    {"after Clear the next line is the only row; a refused row still counts and warns",
     Changes{write(lines(1, 5)), clear, write(line("f")), refuse, write(line(stop))},
     Rows{row("f")}, Warnings{1}, 7},
    {"a line is held until its line feed, or a second without growth",
     Changes{write(line("a") + head + "b", 1), write("c\r", 1), write("\n" + head + stop, 2),
             Change{wait.act, 3}, write(" later: part\r\nno split\n")},
     Rows{row("a"), row("bc"), row(stop), Row(" l", "part")}, Warnings{3}, 4},
    {"64 KiB cut: what lies past it is passed over, a stop line within it warns",
     Changes{write(""),
             write(head + filler + stop + " next: tail\r\n" + head + filler + "\r\n" + head +
                   filler.substr(1) + "\r\n" + head + stop + filler + "more: text\n" +
                   "a tunnel: " + std::string(100000, 'y')),
             wait},
     Rows{row(filler), row(filler), row(filler.substr(1)),
          row((stop + filler).substr(0, filler.size())),
          Row("a", std::string(LogReader::line_limit - 10, 'y'))},
     Warnings{4}, 5},
    {"a held line is shown, then the log is replaced, truncated, removed and made again",
     Changes{write(line("a") + head + "held"), replace(line("b") + line("c") + line("d")), truncate,
             write(line(stop)), remove_file, write(line(stop))},
     Rows{row("a"), row("held"), row("b"), row("c"), row("d"), row(stop), row(stop)},
     Warnings{6, 7}, 7},
};

TEST(LogReader, FollowsTheLogThroughEveryChange) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Follower f;
        for (const Change& change : c.changes) {
            change.act(f);
            f.settle();
            EXPECT_TRUE(change.rows_after < 0 || change.rows_after == int(f.rows.size()));
        }
        EXPECT_EQ(c.rows, f.rows);
        EXPECT_EQ(c.warnings, f.warnings);
        EXPECT_EQ(c.count, f.reader.running_count());
    }
}

TEST(LogReader, CatchUpSendsOnlyTheRowsThatStayAndScrollsToTheNewest) {
    Follower f;
    f.at_path = std::make_shared<std::string>(lines(1, 20000));
    f.settle();
    EXPECT_EQ(rows(19000, 20000), f.rows);
    EXPECT_LE(f.messages, 2 * 1001 + 5);
    EXPECT_GE(f.scrolled, 8LL * 1001 * 1000 / 2);
}

} // namespace
