#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "log/log_reader.h"
#include "unit/log_list_model.h"
#include "unit/log_memory_file.h"

namespace {

using Row = LogListModel::Row;

const std::string stop = "Signaling service to stop because client quitted";

std::string line(int n, const std::string& message = "") {
    return "2024/05/17 12:00:00 tunnel: " +
           (message.empty() ? "line " + std::to_string(n) : message) + "\r\n";
}

Row row(int n, const std::string& message = "") {
    return {"2024/05/17 12:00:00", message.empty() ? "line " + std::to_string(n) : message};
}

std::string lines(int first, int last) {
    std::string text;
    for (int n = first; n <= last; ++n) {
        text += line(n);
    }
    return text;
}

std::vector<Row> rows(int first, int last) {
    std::vector<Row> result;
    for (int n = first; n <= last; ++n) {
        result.push_back(row(n));
    }
    return result;
}

// A reader on an in-memory log and a list; settle() runs it to its next one-second wait.
struct Follower {
    MemoryLogFile file;
    LogListModel list;
    LogReader reader{file, list};

    void settle() {
        for (int steps = 0; reader.step() == LogReader::Step::go_on; ++steps) {
            ASSERT_LT(steps, 10000000) << "the reader never waits";
        }
    }
};

TEST(LogReader, WaitsForAMissingLogAndWarnsOfNothingItHeldWhenItCame) {
    Follower f;
    f.settle();
    f.settle();
    EXPECT_TRUE(f.list.rows.empty());
    EXPECT_FALSE(f.reader.caught_up());

    f.file.write(line(1) + line(2, stop) + line(3));
    f.settle();
    EXPECT_TRUE(f.reader.caught_up());
    EXPECT_EQ((std::vector<Row>{row(1), row(2, stop), row(3)}), f.list.rows);
    EXPECT_TRUE(f.list.warnings.empty());
}

TEST(LogReader, WarnsForEachStopLineReadAfterTheFirstEndOfFile) {
    Follower f;
    f.file.write(line(1, stop) + line(2));
    f.settle();
    EXPECT_TRUE(f.list.warnings.empty());

    f.file.write(line(3, "[7] " + stop + " now") + line(4));
    f.settle();
    // The warning comes once its row is in the list, and before the next line is read.
    EXPECT_EQ((std::vector<std::size_t>{3}), f.list.warnings);

    f.file.write(line(5, stop) + line(6, stop));
    f.settle();
    EXPECT_EQ((std::vector<std::size_t>{3, 5, 6}), f.list.warnings);
    EXPECT_EQ(6u, f.list.rows.size());
}

TEST(LogReader, DropsLinesThatDoNotSplitWithoutCountingThem) {
    Follower f;
    f.file.write("no lowercase T here: X\r\n\r\n2024 tunnel:x\n");
    f.settle();
    f.file.write("2024 QUIC: UP\n" + line(1));
    f.settle();
    EXPECT_EQ((std::vector<Row>{row(1)}), f.list.rows);
    EXPECT_EQ(1, f.reader.running_count());
}

TEST(LogReader, KeepsTheNewest1001RowsWhetherCatchingUpOrFollowing) {
    for (const bool at_start : {true, false}) {
        SCOPED_TRACE(at_start ? "catching up" : "following");
        Follower f;
        f.file.write(at_start ? lines(1, 1002) : "");
        f.settle();
        f.file.write(at_start ? "" : lines(1, 1002));
        f.settle();
        EXPECT_EQ(rows(2, 1002), f.list.rows);
        EXPECT_EQ(1002, f.reader.running_count());
    }
}

TEST(LogReader, FollowsEachLineWithNoMoreThanFourListMessages) {
    Follower f;
    f.file.write(lines(1, 1001));
    f.settle();
    const int messages = f.list.messages;
    const long long scrolled = f.list.scrolled;
    f.file.write(lines(1002, 1100));
    f.settle();
    EXPECT_EQ(rows(100, 1100), f.list.rows);
    EXPECT_EQ(99 * 4, f.list.messages - messages);
    EXPECT_EQ(99 * 8LL * 1001, f.list.scrolled - scrolled);
}

TEST(LogReader, AfterClearTheNextLineIsTheOnlyRowAndTheCountGoesOn) {
    Follower f;
    f.file.write(lines(1, 5));
    f.settle();
    f.list.clear();
    f.file.write(line(6));
    f.settle();
    EXPECT_EQ((std::vector<Row>{row(6)}), f.list.rows);
    EXPECT_EQ(5, f.list.requested_positions.back());
    EXPECT_EQ(6, f.reader.running_count());
}

TEST(LogReader, ARefusedRowStillCountsAndStillWarns) {
    Follower f;
    f.file.write(line(1));
    f.settle();
    f.list.refuse_rows = true;
    const int before = f.list.messages;
    f.file.write(line(2, stop));
    f.settle();
    EXPECT_EQ(1u, f.list.rows.size());
    EXPECT_EQ(1u, f.list.warnings.size());
    EXPECT_EQ(1, f.list.messages - before); // no entry text, no scroll
    EXPECT_EQ(2, f.reader.running_count());
}

TEST(LogReader, HoldsALineUntilItsLineFeedOrASecondWithoutGrowth) {
    for (const std::size_t read_limit : {std::size_t{3}, std::size_t{1} << 20}) {
        SCOPED_TRACE(read_limit);
        Follower f;
        f.file.read_limit = read_limit;
        f.file.write(line(1) + "2024/05/17 12:00:00 tunnel: li");
        f.settle();
        EXPECT_EQ((std::vector<Row>{row(1)}), f.list.rows);

        f.file.write("ne 2\r");
        f.settle(); // it grew: still held
        f.file.write("\n2024/05/17 12:00:00 tunnel: " + stop);
        f.settle();
        EXPECT_EQ(rows(1, 2), f.list.rows);
        EXPECT_TRUE(f.list.warnings.empty());

        f.settle(); // a second with no growth: the line stands as it is
        EXPECT_EQ((std::vector<Row>{row(1), row(2), row(3, stop)}), f.list.rows);
        EXPECT_EQ(1u, f.list.warnings.size());

        f.file.write(" later: part\r\nno split\n");
        f.settle();
        EXPECT_EQ(Row(" l", "part"), f.list.rows.back());
        EXPECT_EQ(4u, f.list.rows.size());
    }
}

TEST(LogReader, CutsAnOverlongLineToItsFirst64KiBAndPassesOverTheRest) {
    const std::string head = "2024/05/17 12:00:00 tunnel: ";
    const std::size_t limit = LogReader::line_limit;
    const std::string filler(limit - head.size(), 'x');
    const Row stop_row = {"2024/05/17 12:00:00", (stop + filler).substr(0, filler.size())};
    const struct {
        const char* name;
        std::string text;
        Row cut_row;
        std::size_t warnings;
    } cases[] = {
        {"stop line and splittable text past the limit",
         head + filler + stop + " next: tail\r\n",
         {"2024/05/17 12:00:00", filler},
         0},
        {"stop line inside the limit", head + stop + filler + "more: text\n", stop_row, 1},
        {"exactly the limit before its line end",
         head + filler + "\r\n",
         {"2024/05/17 12:00:00", filler},
         0},
        {"one short of the limit",
         head + filler.substr(1) + "\r\n",
         {"2024/05/17 12:00:00", filler.substr(1)},
         0},
    };
    for (const auto& c : cases) {
        for (const std::size_t read_limit : {std::size_t{4096}, std::size_t{1} << 20}) {
            SCOPED_TRACE(std::string(c.name) + " / read size " + std::to_string(read_limit));
            Follower f;
            f.file.read_limit = read_limit;
            f.file.write("");
            f.settle();
            f.file.write(c.text + line(2));
            f.settle();
            EXPECT_EQ((std::vector<Row>{c.cut_row, row(2)}), f.list.rows);
            EXPECT_EQ(c.warnings, f.list.warnings.size());
        }
    }
}

TEST(LogReader, CutsAnOverlongLastLineThatNeverEnds) {
    Follower f;
    f.file.write("");
    f.settle();
    f.file.write("a tunnel: " + std::string(100000, 'y'));
    f.settle();
    f.settle();
    ASSERT_EQ(1u, f.list.rows.size());
    EXPECT_EQ(std::string(LogReader::line_limit - 10, 'y'), f.list.rows[0].second);
}

TEST(LogReader, StartsAgainAtTheStartOfATruncatedOrReplacedLog) {
    enum class Change { truncate, replace, remove_then_create };
    for (const Change change : {Change::truncate, Change::replace, Change::remove_then_create}) {
        SCOPED_TRACE(static_cast<int>(change));
        Follower f;
        f.file.write(lines(1, 3));
        f.settle();
        if (change == Change::truncate) {
            f.file.truncate(0);
            f.file.write(line(4, stop));
        } else if (change == Change::replace) {
            // Longer than what was read: only the file's identity tells.
            f.file.replace(line(4, stop) + lines(5, 9));
        } else {
            f.file.remove();
            f.settle();
            f.file.write(line(4, stop));
        }
        f.settle();
        std::vector<Row> expected = rows(1, 3);
        expected.push_back(row(4, stop));
        if (change == Change::replace) {
            const std::vector<Row> more = rows(5, 9);
            expected.insert(expected.end(), more.begin(), more.end());
        }
        EXPECT_EQ(expected, f.list.rows);
        EXPECT_EQ((std::vector<std::size_t>{4}), f.list.warnings);
        EXPECT_EQ(2, f.file.opens);
    }
}

TEST(LogReader, ShowsTheHeldLastLineOfALogThatIsReplaced) {
    Follower f;
    f.file.write(line(1) + "2024/05/17 12:00:00 tunnel: unfinished");
    f.settle();
    f.file.replace(line(2));
    f.settle();
    EXPECT_EQ((std::vector<Row>{row(1), row(0, "unfinished"), row(2)}), f.list.rows);
}

TEST(LogReader, StaysWithALogThatGrowsPastTheOldEnd) {
    Follower f;
    f.file.write(lines(1, 2));
    f.settle();
    f.file.write(lines(3, 4));
    f.settle();
    EXPECT_EQ(rows(1, 4), f.list.rows);
    EXPECT_EQ(1, f.file.opens);
}

// The rows the line-by-line procedure leaves: every line split and inserted at the running
// count, and the first row deleted beyond 1000.
std::vector<Row> line_by_line(const std::string& log) {
    LogListModel list;
    long long count = 0;
    std::size_t start = 0;
    while (start < log.size()) {
        std::size_t end = log.find('\n', start);
        end = end == std::string::npos ? log.size() : end;
        std::string text = log.substr(start, end - start);
        start = end + 1;
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        text = text.substr(0, 64 * 1024);
        const std::size_t t = text.find('t');
        const std::size_t colon = text.find(": ");
        if (t == std::string::npos || colon == std::string::npos) {
            continue;
        }
        const int position = list.insert_row(static_cast<int>(count),
                                             text.substr(0, t == 0 ? text.size() : t - 1).c_str());
        list.set_entry(position, text.substr(colon + 2).c_str());
        if (position > 1000) {
            list.delete_first_row();
        }
        ++count;
    }
    return list.rows;
}

std::string random_log(std::mt19937& random, int line_count, std::size_t long_length) {
    std::string log;
    for (int n = 0; n < line_count; ++n) {
        switch (random() % 9) {
        case 0:
            log += "2024/05/17 12:00:00 QUIC: UP " + std::to_string(n);
            break;
        case 1:
            log += "2024/05/17 12:00:00 tunnel:" + std::to_string(n);
            break;
        case 2:
            log += "tunnel: " + std::to_string(n);
            break;
        case 3:
            log += "xt: " + std::to_string(n) + ": " + stop;
            break;
        case 4:
            log += "2024/05/17 12:00:00 tunnel: " + std::string(random() % long_length, 'k');
            break;
        case 5:
            break;
        default:
            log += "2024/05/17 12:00:00 tunnel: message " + std::to_string(n);
            break;
        }
        log += random() % 2 ? "\r\n" : "\n";
    }
    if (random() % 2) {
        log += "2024/05/17 12:00:00 tunnel: last line without its line feed";
    }
    return log;
}

TEST(LogReader, CatchUpLeavesTheRowsOfTheLineByLineProcedureWithFewMessages) {
    std::mt19937 random(20240517);
    const struct {
        int lines;
        std::size_t long_length;
    } cases[] = {{0, 10},     {1, 10},      {1000, 10},   {1001, 10}, {1002, 10},
                 {1500, 200}, {20000, 300}, {3000, 20000} /* more text than catch-up holds back */};
    for (const auto& c : cases) {
        for (int round = 0; round < 3; ++round) {
            SCOPED_TRACE(std::to_string(c.lines) + " lines, round " + std::to_string(round));
            const std::string log = random_log(random, c.lines, c.long_length);
            const std::vector<Row> expected = line_by_line(log);

            Follower f;
            f.file.read_limit = 1 + random() % 100000;
            f.file.write(log);
            f.settle();
            f.settle(); // a last line without its line feed is taken a second later
            EXPECT_EQ(expected, f.list.rows);
            EXPECT_TRUE(f.list.warnings.empty());
            // Far enough down to bring the newest row into view, as the row-by-row scrolls
            // over the rows that stay would.
            const auto kept = static_cast<long long>(expected.size());
            EXPECT_GE(f.list.scrolled, 8 * kept * (kept - 1) / 2);
            if (c.long_length < 1000) {
                // Only the rows that stay reach the list, all in one go: no insertion is
                // undone.
                EXPECT_LE(f.list.messages, 2 * 1001 + 1 + 4);
                EXPECT_EQ(1, f.list.batches);
            }
        }
    }
}

} // namespace
