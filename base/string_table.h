// The program's texts, loaded by number from the string table of a module.
#pragma once

#include <windows.h>

#include "base/text_loader.h"

class StringTable : public TextLoader {
public:
    explicit StringTable(HINSTANCE instance) : instance_(instance) {}

    void load(unsigned id, char* buffer, std::size_t capacity) const override;

private:
    HINSTANCE instance_;
};
