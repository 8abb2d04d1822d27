#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "log/log_follow.h"
#include "log/log_mailbox.h"
#include "log/log_reader.h"
#include "log/log_search.h"

namespace {

using Rows = std::vector<std::string>; // "Date/Time|entry"

// A log in memory and the list a list view keeps, with a reader between them; settle() runs
// the reader to its next one-second wait. The file the path names can grow, shrink, be
// replaced while the reader holds the one it opened, also just after one of the reader's reads;
// reads stop at an odd size, which may be set. A log that cannot tell its size is read whole from
// its start. An insertion beyond the end of the list lands at its end. How many batches the rows
// come in and how far back catch-up reads are speed, which bench/log_catchup measures.
const std::string stop = "Signaling service to stop because client quitted";

struct Follower : LogSource, LogView {
    bool open() override { return (held = at_path) != nullptr; }
    std::uint64_t size() override { return whole_read ? 0 : held->size(); }
    std::size_t read(std::uint64_t offset, char* buffer, std::size_t capacity) override {
        const std::size_t got = offset < held->size() ? held->copy(buffer, std::min(capacity, odd),
                                                                   static_cast<std::size_t>(offset))
                                                      : 0;
        if (after_read) {
            std::exchange(after_read, nullptr)(*this);
        }
        return got;
    }
    bool replaced(std::uint64_t read_so_far) override {
        return held->size() < read_so_far || at_path != held;
    }
    void close() override { held.reset(); }

    // As the list takes a batch: the rows at its end, as C strings, the oldest beyond the limit
    // dropped; the rows it holds when each warning shows.
    void show(LogBatch&& batch) override {
        EXPECT_LE(batch.rows.size(), LogBatch::row_limit);
        for (const LogRow& r : batch.rows) {
            rows.push_back(std::string(r.date_time.c_str()) + "|" + r.entry.c_str());
            // A stop line is marked as one, whenever it was read.
            EXPECT_EQ(r.entry.find(stop) != std::string::npos, r.stop) << r.entry.substr(0, 80);
        }
        if (rows.size() > LogBatch::row_limit) {
            rows.erase(rows.begin(), rows.end() - static_cast<std::ptrdiff_t>(LogBatch::row_limit));
        }
        warnings.insert(warnings.end(), static_cast<std::size_t>(batch.warnings), rows.size());
    }

    void settle() {
        for (int steps = 0; reader.step() == LogReader::Step::go_on; ++steps) {
            ASSERT_LT(steps, 10000000) << "the reader never waits";
        }
    }

    std::shared_ptr<std::string> at_path, held;
    std::size_t odd = 100003;
    bool whole_read = false;
    std::function<void(Follower&)> after_read; // once
    Rows rows;
    std::vector<std::size_t> warnings; // the rows in the list when each warning showed
    LogReader reader{*this, *this};
};

const std::string head = "2024/05/17 12:00:00 tunnel: ";
const std::string filler(LogReader::line_limit - head.size(), 'x');
std::string line(const std::string& entry) {
    return head + entry + "\r\n";
}
std::string row(const std::string& entry) {
    return head.substr(0, 19) + "|" + entry;
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
    for (const std::string& r : rows(first, last, pad)) {
        text += line(r.substr(20));
    }
    return text;
}

// A change to the log or the list, after which the reader runs on to its next wait.
using Change = std::function<void(Follower&)>;
Change write(const std::string& text) {
    return [text](Follower& f) {
        auto& file = f.at_path;
        (file ? file : file = std::make_shared<std::string>())->append(text);
    };
}
Change replace(const std::string& text) {
    return [text](Follower& f) { f.at_path = std::make_shared<std::string>(text); };
}
// A change made just after the reader's next read.
Change after_read(const Change& change) {
    return [change](Follower& f) { f.after_read = change; };
}
const Change wait = [](Follower&) {};
const Change clear = [](Follower& f) { f.rows.clear(); };
const Change truncate = [](Follower& f) { f.at_path->clear(); };

using Changes = std::vector<Change>;
using Warnings = std::vector<std::size_t>;

const struct {
    const char* name;
    Changes changes;
    Rows rows;
    Warnings warnings;
    long long count; // the running count at the end
} cases[] = {
    // The Date/Time text stands before the first lowercase t, less one character, or is the
    // whole line when the t opens it; the entry follows the first ": ", the two independent.
    {"missing at start, then made: lines split or dropped; stop lines, anywhere in the entry and "
     "exactly as written, warn only after the first end of file, each once",
     Changes{wait,
             write("12 TUNNEL: UP\r\n\r\n2024 tunnel:x\n" + line(stop) +
                   "tunnel: t first\nxt: y\na: b then c\n" + std::string("2024\0 tunnel: x\n", 16) +
                   line("")),
             write(line("[7] " + stop + " (code 3)") + line("s" + stop.substr(1)) +
                   line(stop.substr(0, 47))),
             write(line(stop) + line(stop))},
     Rows{row(stop), "tunnel: t first|t first", "|y", "a: b|b then c", "2024|x", row(""),
          row("[7] " + stop + " (code 3)"), row("s" + stop.substr(1)), row(stop.substr(0, 47)),
          row(stop), row(stop)},
     Warnings{9, 11, 11}, 11},
    // Catch-up holds back more text than it may; the burst's older lines never reach the list.
    {"catch-up and a burst keep the newest 1001 rows, counted from catch-up's first",
     Changes{write(lines(1, 1100, 5000)), write(lines(1101, 3000))}, rows(2000, 3000), Warnings{},
     2901},
    // Replaced instead of shrunk is the same decision: again, from the end of what is there now.
    {"shrunk while catch-up looks back from the end: caught up from its new end",
     Changes{after_read([](Follower& f) { f.at_path->resize(lines(1, 1500, 99).size()); }),
             write(lines(1, 3000, 99))},
     rows(500, 1500, 99), Warnings{}, 1001},
    // Whether a stop line was there at start goes by where its line began, not by when its
    // line end came or the second without growth ran out.
    {"a stop line begun before the first end of file, ended later by a lone CR, taken after a "
     "second: no warning; one begun after it warns once, whenever its line end comes",
     Changes{write(line("a") + head + "Signaling service"),
             write(" to stop because client quitted\r"), wait, write("\n" + head + stop), wait,
             write("\r\n")},
     Rows{row("a"), row(stop), row(stop)}, Warnings{3}, 3},
    {"the log moved away while catch-up looks back from its end: its rows, then the new log's "
     "from its start",
     Changes{after_read(replace(line("new") + line(stop))), write(lines(1, 3) + line(stop))},
     Rows{row("line 1"), row("line 2"), row("line 3"), row(stop), row("new"), row(stop)},
     Warnings{6}, 6},
    // Zero-filled stretches, as a power loss leaves in a log. The searches run over the whole
    // line, the cut only over the texts kept; a text leaves out the NULs it opens with, which
    // the list would show as nothing.
    {"NUL runs longer than the cut before lines: their rows, one with no text at all; a stop "
     "line there warns",
     Changes{write(line("a") + std::string(LogReader::line_limit + 1, '\0') + line("b")),
             write(std::string(3 * LogReader::line_limit, '\0') + line(stop)),
             write(std::string(LogReader::line_limit, '\0') + "tunnel: \r\n")},
     Rows{row("a"), row("b"), row(stop), "|"}, Warnings{3}, 4},
    // Each line once, in order: a line is held until its line feed, or a second without growth;
    // each text cut at 64 KiB; the old file is read to its end first.
    {"following: after Clear the next line is the only row; a line held; the 64 KiB cut; the log "
     "replaced, truncated, and written just before it was moved away",
     Changes{write(lines(1, 5)), clear, write(line("f")), write(line("a") + head + "b"),
             write("c\r"), write("\n" + head + stop), wait, write(" later: part\r\nno split\n"),
             write(head + filler + stop + " next: tail\r\n" + head + filler + "\r\n" + head +
                   filler.substr(1) + "\r\n" + head + stop + filler + "more: text\n" +
                   "a tunnel: " + std::string(100000, 'y')),
             wait, write(line("g") + head + "held"), replace(line("b") + line("c")), truncate,
             write(line(stop)), after_read([](Follower& f) {
                 write(line("d"))(f);
                 replace(line("e"))(f);
             }),
             write(line(stop))},
     Rows{row("f"), row("a"), row("bc"), row(stop), " l|part",
          row((filler + stop).substr(0, LogReader::line_limit)), row(filler), row(filler.substr(1)),
          row((stop + filler).substr(0, LogReader::line_limit)),
          "a|" + std::string(LogReader::line_limit, 'y'), row("g"), row("held"), row("b"), row("c"),
          row(stop), row("d"), row("e"), row(stop)},
     Warnings{4, 9, 15, 18}, 23},
};

TEST(LogReader, FollowsTheLogThroughEveryChange) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Follower f;
        for (const Change& change : c.changes) {
            change(f);
            f.settle();
        }
        EXPECT_EQ(c.rows, f.rows);
        EXPECT_EQ(c.warnings, f.warnings);
        EXPECT_EQ(c.count, f.reader.running_count());
    }
}

// Logs of every kind of line, caught up with from the end and, for comparison, read whole
// from the start, then followed on: the same rows and warnings. Catch-up reads short pieces,
// which split lines that the whole read has in one; following reads as the whole read does,
// so that each warning comes with the same rows.
TEST(LogReader, CatchUpFromTheEndShowsWhatAWholeReadShows) {
    std::mt19937 random(7);
    for (int log = 0; log < 40; ++log) {
        Follower back, whole;
        whole.whole_read = true;
        back.odd = 64 + random() % 4096;
        // A log, more of it, then a second without growth.
        const std::size_t sizes[] = {random() % 2600, random() % 1200, 0};
        for (const std::size_t size : sizes) {
            std::string text;
            for (std::size_t n = 0; n < size; ++n) {
                // A 't' that opens a line makes the whole line its Date/Time text. NUL runs
                // longer than the cut are the table's.
                const std::string kinds[] = {(n % 4 > 0 ? head : "t: ") + std::to_string(n),
                                             head + stop, "QUIC: UP", "a tunnel:b", ""};
                const std::size_t kind = random() % 400;
                text += kind < 396 ? kinds[kind % 5]
                        : kind < 398
                            ? head + filler.substr(random() % 3) + filler.substr(0, kind % 3)
                            : std::string(random() % 200000, 'y') + head;
                text += random() % 2 > 0 ? "\r\n" : "\n";
            }
            if (size > 0 && random() % 2 > 0) {
                text += head + "no line feed yet";
            }
            for (Follower* f : {&back, &whole}) {
                write(text)(*f);
                f->settle();
            }
            EXPECT_EQ(whole.rows, back.rows);
            EXPECT_EQ(whole.warnings, back.warnings);
            back.odd = whole.odd;
        }
    }
}

} // namespace

// What waits for the window: told once until taken, never more rows than the list keeps, and
// every warning, also those whose rows were dropped.
TEST(LogMailbox, HoldsTheNewestRowsAndEveryWarningUntilTaken) {
    const auto batch = [](int first, int last, int warnings) {
        LogBatch made;
        for (int n = first; n <= last; ++n) {
            made.rows.push_back({std::to_string(n), ""});
        }
        made.warnings = warnings;
        return made;
    };
    LogMailbox mailbox;
    EXPECT_FALSE(mailbox.put(batch(1, 0, 0)));
    EXPECT_TRUE(mailbox.put(batch(0, 599, 1)));
    EXPECT_FALSE(mailbox.put(batch(600, 1199, 2)));
    const LogBatch taken = mailbox.take();
    ASSERT_EQ(LogBatch::row_limit, taken.rows.size());
    EXPECT_EQ("199", taken.rows.front().date_time);
    EXPECT_EQ("1199", taken.rows.back().date_time);
    EXPECT_EQ(3, taken.warnings);
    EXPECT_TRUE(mailbox.take().empty());
    EXPECT_TRUE(mailbox.put(batch(1, 0, 1)));
}

// The list follows the log only while the user looks at its end; otherwise the rows in view
// stay in view, the oldest going above them.
TEST(LogFollow, OnlyWhileTheUserLooksAtTheEnd) {
    const struct {
        ListView before;
        int dropped;
        FollowDecision expected;
    } cases[] = {
        {{0, 0, 20, false}, 0, {true, 0}},
        {{100, 80, 20, false}, 0, {true, 0}},       // the last row whole in view
        {{100, 79, 20, false}, 0, {false, 79}},     // scrolled up by a row
        {{1001, 500, 20, false}, 10, {false, 490}}, // the rows in view stay where they are
        {{1001, 5, 20, false}, 10, {false, 0}},
        {{100, 80, 20, true}, 0, {false, 80}}, // a row picked above the end
    };
    for (const auto& c : cases) {
        const FollowDecision got = decide_follow(c.before, c.dropped);
        EXPECT_EQ(c.expected.follow, got.follow) << c.before.top;
        EXPECT_EQ(c.expected.top, got.top) << c.before.top;
    }
}

// Find: in either text, either case, from the row after (before) the given one, around the end.
TEST(LogSearch, FindsTheNextRowHoldingTheTextAroundTheEnd) {
    const std::string texts[][2] = {{"2024/05/17 10:00:00", "Tunnel up"},
                                    {"2024/05/17 10:00:01", "keepalive sent"},
                                    {"2024/05/17 10:00:02", "Stopping tunnel"},
                                    {"2024/05/17 10:00:03", "Caf\xC9 open"}};
    const auto cell = [&](int row, int column) { return std::string_view(texts[row][column]); };
    const struct {
        std::string text;
        int from;
        bool backwards;
        SearchHit expected;
    } cases[] = {
        // clang-format off
        {"TUNNEL", -1, false, {0, false}},   {"tunnel", 0, false, {2, false}},
        {"tunnel", 2, false, {0, true}},     {"tunnel", 0, true, {2, true}},
        {"10:00:01", -1, false, {1, false}}, {"caf\xE9", -1, true, {3, false}},
        {"absent", 1, false, {-1, false}},   {"", -1, false, {-1, false}},
        {std::string(1000, 'x'), -1, false, {-1, false}},
        // clang-format on
    };
    for (const auto& c : cases) {
        const SearchHit got = find_row(c.text, 4, c.from, c.backwards, cell);
        EXPECT_EQ(c.expected.row, got.row) << c.text << " from " << c.from;
        EXPECT_EQ(c.expected.wrapped, got.wrapped) << c.text << " from " << c.from;
    }
}
