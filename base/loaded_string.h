// A text of the program's string table, loaded into a buffer of its own when constructed.
#pragma once

#include <cstddef>

class LoadedString {
public:
    static constexpr std::size_t capacity = 256;

    // Empty when the table has no such text.
    explicit LoadedString(unsigned id);

    const char* c_str() const { return text_; }

private:
    char text_[capacity];
};
