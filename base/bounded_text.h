// Text operations on fixed-capacity buffers: every copy bounded, every result terminated.
#pragma once

#include <cstddef>
#include <cstdint>

// Copies at most capacity - 1 characters of source (null reads as empty) and terminates.
void copy_text(char* target, std::size_t capacity, const char* source);

// Appends message and a line feed to the text in buffer, cut to capacity, terminated.
void append_line(char* buffer, std::size_t capacity, const char* message);

// Whole-string comparison with ASCII case folding only, whatever the locale.
bool equals_ignoring_case(const char* left, const char* right);

// Decimal conversion as the C library's atoi reads text, but defined for every input:
// leading white space, optional sign, digits up to the first non-digit; saturates at the
// 32-bit limits; text without leading digits gives 0.
std::int32_t to_int32(const char* text);
