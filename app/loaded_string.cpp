#include "app/loaded_string.h"

#include <windows.h>

#include "app/startup.h"
#include "app/string_table.h"

LoadedString::LoadedString(unsigned id) {
    // Start-up loads its error text before the entry point records the instance.
    const HINSTANCE instance = app_instance != nullptr ? app_instance : GetModuleHandleA(nullptr);
    StringTable(instance).load(id, text_, sizeof text_);
}
