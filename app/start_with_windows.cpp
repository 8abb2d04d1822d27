#include "app/start_with_windows.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "base/bounded_text.h"
#include "base/owned_handle.h"

namespace {

// A Run command longer than this names no path of ours.
constexpr DWORD command_capacity = 2 * MAX_PATH;

// Names compared as the file system compares them: case folded, code by code, whatever the
// locale's collation thinks of hyphens and accents.
bool same_file_name(const char* left, int left_length, const char* right) {
    wchar_t wide_left[MAX_PATH + 1] = {}, wide_right[MAX_PATH + 1] = {};
    const int converted_left =
        MultiByteToWideChar(CP_ACP, 0, left, left_length, wide_left, MAX_PATH);
    const int converted_right = MultiByteToWideChar(CP_ACP, 0, right, -1, wide_right, MAX_PATH);
    return converted_left > 0 && converted_right > 0 &&
           CompareStringOrdinal(wide_left, converted_left, wide_right, converted_right - 1, TRUE) ==
               CSTR_EQUAL;
}

bool this_program(char* path, DWORD capacity) {
    const DWORD length = GetModuleFileNameA(nullptr, path, capacity);
    return length > 0 && length < capacity;
}

// The value's command, expanded when its type says so; false when there is none of a string
// type that fits.
bool read_command(char* command, DWORD capacity) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, StartWithWindows::run_key, 0, KEY_QUERY_VALUE, &opened) !=
        ERROR_SUCCESS) {
        return false;
    }
    const OwnedHandle run(opened, RegCloseKey);
    char value[command_capacity + 1] = {}; // terminated even when the data is not
    DWORD type = REG_NONE;
    DWORD size = command_capacity;
    if (RegQueryValueExA(run.get(), StartWithWindows::value_name, nullptr, &type,
                         reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS) {
        return false;
    }
    if (type == REG_SZ) {
        copy_text(command, capacity, value);
        return true;
    }
    if (type == REG_EXPAND_SZ) {
        const DWORD needed = ExpandEnvironmentStringsA(value, command, capacity);
        return needed != 0 && needed <= capacity;
    }
    return false;
}

} // namespace

bool StartWithWindows::starts(const char* command, const char* program_path) {
    while (*command == ' ' || *command == '\t') {
        ++command;
    }
    if (*command == '"') {
        const char* const end = std::strchr(command + 1, '"');
        return end != nullptr &&
               same_file_name(command + 1, static_cast<int>(end - command - 1), program_path);
    }
    // Unquoted, a path with spaces is taken whole: as far as the program's own path goes, then
    // the end or its arguments.
    const int length = lstrlenA(program_path);
    const int available = lstrlenA(command);
    return available >= length && same_file_name(command, length, program_path) &&
           (command[length] == '\0' || command[length] == ' ' || command[length] == '\t');
}

bool StartWithWindows::is_on() {
    char command[command_capacity] = {}, program[MAX_PATH] = {};
    return read_command(command, sizeof command) && this_program(program, sizeof program) &&
           starts(command, program);
}

bool StartWithWindows::turn_on() {
    char program[MAX_PATH] = {};
    if (!this_program(program, sizeof program)) {
        return false;
    }
    char command[command_capacity] = {}; // a path of MAX_PATH and a few characters fit
    std::snprintf(command, sizeof command, "\"%s\" %s", program, tray_argument);
    HKEY created = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, run_key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const OwnedHandle run(created, RegCloseKey);
    return RegSetValueExA(run.get(), value_name, 0, REG_SZ, reinterpret_cast<const BYTE*>(command),
                          static_cast<DWORD>(lstrlenA(command) + 1)) == ERROR_SUCCESS;
}

bool StartWithWindows::turn_off() {
    // Asked again now: the value may have changed since the menu showed it ticked.
    if (!is_on()) {
        return false;
    }
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, run_key, 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) {
        return false;
    }
    const OwnedHandle run(opened, RegCloseKey);
    return RegDeleteValueA(run.get(), value_name) == ERROR_SUCCESS;
}

bool StartWithWindows::asks_for_tray(const char* command_line) {
    const std::size_t length = std::strlen(tray_argument);
    for (const char* at = command_line; at != nullptr && *at != '\0';) {
        while (*at == ' ' || *at == '\t') {
            ++at;
        }
        const char* end = at;
        while (*end != '\0' && *end != ' ' && *end != '\t') {
            ++end;
        }
        if (static_cast<std::size_t>(end - at) == length &&
            std::strncmp(at, tray_argument, length) == 0) {
            return true;
        }
        at = end;
    }
    return false;
}
