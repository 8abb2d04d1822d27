#include "app/user_settings.h"

#include <windows.h>

#include "base/owned_handle.h"

bool UserSettings::read(const char* name, bool default_value) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
        return default_value;
    }
    const OwnedHandle settings(opened, RegCloseKey);
    // Room for more than a DWORD, so that a longer value is seen as such rather than refused.
    BYTE data[8] = {};
    DWORD type = REG_NONE;
    DWORD size = sizeof data;
    if (RegQueryValueExA(settings.get(), name, nullptr, &type, data, &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(DWORD)) {
        return default_value;
    }
    DWORD value = 0;
    CopyMemory(&value, data, sizeof value);
    return value != 0;
}

bool UserSettings::write(const char* name, bool on) {
    HKEY created = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const OwnedHandle settings(created, RegCloseKey);
    const DWORD value = on ? 1 : 0;
    return RegSetValueExA(settings.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) == ERROR_SUCCESS;
}
