#include <gtest/gtest.h>

#include <string>

#include "log/log_line.h"

TEST(LogLine, SplitsAtTheFirstLowercaseTAndTheFirstColonSpace) {
    // A line and its Date/Time text and entry text, or "no row".
    const std::pair<std::string, std::string> cases[] = {
        {"2024/05/17 12:34:56 tunnel: connected", "2024/05/17 12:34:56|connected"},
        {"tunnel: t at the start", "tunnel: t at the start|t at the start"},
        {"xtunnel: t second", "|t second"},
        {"2024/05/17 tunnel: ", "2024/05/17|"},
        {"2024/05/17 12:34:56 QUIC: UP", "no row"},
        {"2024/05/17 12:34:56 tunnel:no space", "no row"},
        {"", "no row"},
        {"t", "no row"},
        // The searches are independent: the entry may start before the Date/Time text ends.
        {"a: b then c", "a: b|b then c"},
        {"x: y: zt", "x: y: |y: zt"},
        {"12 Tunnel: it", "12 Tunnel: |it"},
        {std::string("2024\0 tunnel: x", 15), std::string("2024\0|x", 7)},
    };
    for (const auto& [line, expected] : cases) {
        LogLineSplit split = {};
        const bool splits = split_log_line(line.data(), line.size(), split);
        EXPECT_EQ(expected, splits ? line.substr(0, split.date_time_length) + "|" +
                                         line.substr(split.entry_offset)
                                   : "no row")
            << line;
    }
}

TEST(LogLine, FindsTheStopLineAnywhereInTheEntryExactlyAsWritten) {
    const std::string stop = "Signaling service to stop because client quitted";
    for (const std::string& entry : {stop, "[42] " + stop + " (code 3)"}) {
        EXPECT_TRUE(holds_stop_line(entry.data(), entry.size())) << entry;
    }
    const std::string misspelt[] = {"s" + stop.substr(1), stop.substr(0, 47),
                                    "Signaling service to stop  because client quitted"};
    for (const std::string& entry : misspelt) {
        EXPECT_FALSE(holds_stop_line(entry.data(), entry.size())) << entry;
    }
}
