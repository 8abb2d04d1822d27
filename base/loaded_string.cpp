#include "base/loaded_string.h"

#include <windows.h>

#include "base/string_table.h"

LoadedString::LoadedString(unsigned id) {
    // The texts are resources of the program's own executable.
    StringTable(GetModuleHandleA(nullptr)).load(id, text_, sizeof text_);
}
