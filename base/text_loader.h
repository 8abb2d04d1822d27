// Where the program's numbered texts come from: the string table on Windows.
#pragma once

#include <cstddef>

class TextLoader {
public:
    virtual ~TextLoader() = default;

    // Fills buffer with text number id, cut to capacity and terminated; empty when unknown.
    virtual void load(unsigned id, char* buffer, std::size_t capacity) const = 0;
};
