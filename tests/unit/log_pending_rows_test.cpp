#include <gtest/gtest.h>

#include <string>

#include "log/pending_rows.h"

namespace {

TEST(PendingRows, KeepsTheNewestRowsAndCountsTheTextHeld) {
    PendingRows pending(3);
    const LogLineSplit split = {1, 2};
    for (int n = 0; n < 5; ++n) {
        const std::string line = std::string(static_cast<std::size_t>(n + 1), 'a');
        pending.push(line.data(), line.size(), split, 10 + n);
    }
    ASSERT_EQ(3u, pending.size());
    EXPECT_EQ(3u + 4u + 5u, pending.bytes());
    for (int n = 2; n < 5; ++n) {
        EXPECT_EQ(10 + n, pending.oldest().index);
        EXPECT_EQ(static_cast<std::size_t>(n + 1), pending.oldest().line.size());
        pending.pop_oldest();
    }
    EXPECT_TRUE(pending.empty());
    EXPECT_EQ(0u, pending.bytes());
}

TEST(PendingRows, GivesBackTheMemoryOfALongLine) {
    PendingRows pending(2);
    const std::string long_line(60000, 'x');
    pending.push(long_line.data(), long_line.size(), {0, 0}, 0);
    pending.push("a", 1, {0, 0}, 1);
    pending.push("b", 1, {0, 0}, 2); // reuses the long line's slot
    EXPECT_LT(pending.oldest().line.capacity(), 4096u);
    EXPECT_EQ(2u, pending.bytes());
}

} // namespace
