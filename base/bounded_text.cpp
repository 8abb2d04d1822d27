#include "base/bounded_text.h"

#include <cstring>

void copy_text(char* target, std::size_t capacity, const char* source) {
    if (capacity == 0) {
        return;
    }
    std::size_t length = 0;
    if (source != nullptr) {
        while (length + 1 < capacity && source[length] != '\0') {
            ++length;
        }
        std::memcpy(target, source, length);
    }
    target[length] = '\0';
}

void append_line(char* buffer, std::size_t capacity, const char* message) {
    if (capacity == 0) {
        return;
    }
    std::size_t used = 0;
    while (used + 1 < capacity && buffer[used] != '\0') {
        ++used;
    }
    copy_text(buffer + used, capacity - used, message);
    used += std::strlen(buffer + used);
    if (used + 1 < capacity) {
        buffer[used] = '\n';
        buffer[used + 1] = '\0';
    }
}

static char fold_ascii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equals_ignoring_case(const char* left, const char* right) {
    for (;; ++left, ++right) {
        if (fold_ascii(*left) != fold_ascii(*right)) {
            return false;
        }
        if (*left == '\0') {
            return true;
        }
    }
}

static bool is_c_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::int32_t to_int32(const char* text) {
    while (is_c_space(*text)) {
        ++text;
    }
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = (*text == '-');
        ++text;
    }
    // Accumulate the magnitude in 64 bits and stop growing once past every 32-bit limit.
    const std::int64_t beyond = std::int64_t{INT32_MAX} + 2;
    std::int64_t magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (magnitude < beyond) {
            magnitude = magnitude * 10 + (*text - '0');
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX) {
        return INT32_MAX;
    }
    if (value < INT32_MIN) {
        return INT32_MIN;
    }
    return static_cast<std::int32_t>(value);
}
