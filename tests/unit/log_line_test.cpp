#include <gtest/gtest.h>

#include <string>

#include "log/log_line.h"

namespace {

struct SplitCase {
    const char* line;
    bool splits;
    const char* date_time;
    const char* entry;
};

const SplitCase split_cases[] = {
    {"2024/05/17 12:34:56 tunnel: connected", true, "2024/05/17 12:34:56", "connected"},
    {"tunnel: t at the start", true, "tunnel: t at the start", "t at the start"},
    {"xtunnel: t second", true, "", "t second"},
    {"2024/05/17 tunnel: ", true, "2024/05/17", ""},
    {"2024/05/17 12:34:56 QUIC: UP", false, "", ""},
    {"2024/05/17 12:34:56 tunnel:no space", false, "", ""},
    {"2024/05/17 12:34:56 tunnel :", false, "", ""},
    {"", false, "", ""},
    {"t", false, "", ""},
    // The searches are independent: the entry may start before the Date/Time text ends.
    {"a: b then c", true, "a: b", "b then c"},
    {"x: y: zt", true, "x: y: ", "y: zt"},
    {"12 Tunnel: it", true, "12 Tunnel: ", "it"},
};

TEST(LogLine, SplitsAtTheFirstLowercaseTAndTheFirstColonSpace) {
    for (const SplitCase& c : split_cases) {
        SCOPED_TRACE(c.line);
        const std::string line = c.line;
        LogLineSplit split = {};
        ASSERT_EQ(c.splits, split_log_line(line.data(), line.size(), split));
        if (c.splits) {
            EXPECT_EQ(c.date_time, line.substr(0, split.date_time_length));
            EXPECT_EQ(c.entry, line.substr(split.entry_offset));
        }
    }
}

TEST(LogLine, ReadsTextPastAnEmbeddedNul) {
    const std::string line("2024\0 tunnel: x", 15);
    LogLineSplit split = {};
    ASSERT_TRUE(split_log_line(line.data(), line.size(), split));
    EXPECT_EQ(5u, split.date_time_length);
    EXPECT_EQ("x", line.substr(split.entry_offset));
}

TEST(LogLine, FindsTheStopLineAnywhereInTheEntryExactlyAsWritten) {
    const struct {
        const char* entry;
        bool holds;
    } cases[] = {
        {"Signaling service to stop because client quitted", true},
        {"[42] Signaling service to stop because client quitted (code 3)", true},
        {"signaling service to stop because client quitted", false},
        {"Signaling service to stop because client quitte", false},
        {"Signaling service to stop  because client quitted", false},
        {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_EQ(c.holds, holds_stop_line(c.entry, std::string(c.entry).size()));
    }
}

} // namespace
