#include "config/bounded_text.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

TEST(BoundedText, CopyCutsToCapacityAndTerminates) {
    char buffer[6];
    std::memset(buffer, 'x', sizeof buffer);
    copy_text(buffer, sizeof buffer, "abcdefgh");
    EXPECT_STREQ("abcde", buffer);
    copy_text(buffer, sizeof buffer, nullptr);
    EXPECT_STREQ("", buffer);
}

TEST(BoundedText, AppendLineAddsMessageAndLineFeedWithinCapacity) {
    struct Case {
        std::size_t capacity;
        const char* before;
        const char* message;
        const char* after;
    };
    const Case cases[] = {
        {32, "", "one", "one\n"},
        {32, "one\n", "two", "one\ntwo\n"},
        {32, "one\n", "", "one\n\n"},
        {8, "one\n", "two", "one\ntwo"}, // no room for the line feed
        {7, "one\n", "two", "one\ntw"},
        {5, "one\n", "two", "one\n"},
        {1, "", "two", ""},
    };
    for (const Case& c : cases) {
        char buffer[64];
        std::memset(buffer, '#', sizeof buffer);
        std::strcpy(buffer, c.before);
        append_line(buffer, c.capacity, c.message);
        EXPECT_STREQ(c.after, buffer) << "capacity " << c.capacity;
        EXPECT_EQ('#', buffer[c.capacity]) << "wrote past capacity " << c.capacity;
    }
}

TEST(BoundedText, AppendLineToUnterminatedBufferStaysInside) {
    char buffer[8];
    std::memset(buffer, 'a', sizeof buffer);
    append_line(buffer, sizeof buffer, "b");
    EXPECT_EQ('\0', buffer[7]);
    EXPECT_EQ(7u, std::strlen(buffer));
}

TEST(BoundedText, ComparisonFoldsAsciiLettersOnly) {
    EXPECT_TRUE(equals_ignoring_case("V4V6", "v4v6"));
    EXPECT_TRUE(equals_ignoring_case("", ""));
    EXPECT_FALSE(equals_ignoring_case("v4v6 ", "v4v6"));
    EXPECT_FALSE(equals_ignoring_case("v4v", "v4v6"));
    EXPECT_FALSE(equals_ignoring_case("\xC9", "\xE9")); // no folding beyond ASCII
}

TEST(BoundedText, ConversionReadsLikeAtoiAndSaturates) {
    struct Case {
        const char* text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"", 0},
        {"abc", 0},
        {"42", 42},
        {" \t64xyz", 64},
        {"+7", 7},
        {"-5", -5},
        {"- 5", 0},
        {"007", 7},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"99999999999999999999999999", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-99999999999999999999999999", -2147483647 - 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.value, to_int32(c.text)) << '"' << c.text << '"';
    }
}
