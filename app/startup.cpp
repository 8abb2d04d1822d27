#include "app/startup.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "base/bounded_text.h"
#include "base/loaded_string.h"
#include "base/owned_handle.h"
#include "config/config_reader.h"
#include "res/resource.h"

namespace {

constexpr const char* registry_key = "SOFTWARE\\Quorix\\RYX Client";
constexpr const char* registry_value = "installdir";
// The client, or an editor, may hold the file for a moment while it writes it.
constexpr int open_attempts = 5;
constexpr DWORD open_retry_ms = 50;

// A drive letter, a colon and a backslash, or a UNC path: a relative folder would be looked for
// wherever the program was started from.
bool is_absolute(const char* path) {
    const bool drive = ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                       path[1] == ':' && path[2] == '\\';
    const bool unc = path[0] == '\\' && path[1] == '\\' && path[2] != '\0' && path[2] != '\\';
    return drive || unc;
}

// "installdir" from an open key: a non-empty absolute path, expanded when its type says so,
// that fits a path buffer with its terminator. Anything else is no installation.
bool read_install_dir(HKEY key, char* text, std::size_t capacity) {
    char value[path_capacity] = {};
    DWORD type = REG_NONE;
    DWORD size = sizeof value;
    if (RegQueryValueExA(key, registry_value, nullptr, &type, reinterpret_cast<BYTE*>(value),
                         &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return false;
    }
    // The data need not carry its terminator: add one inside the buffer, or refuse.
    if (size == 0 || value[size - 1] != '\0') {
        if (size >= sizeof value) {
            return false;
        }
        value[size] = '\0';
    }
    if (type == REG_SZ) {
        copy_text(text, capacity, value);
        return is_absolute(text);
    }
    const DWORD needed = ExpandEnvironmentStringsA(value, text, static_cast<DWORD>(capacity));
    return needed != 0 && needed <= capacity && is_absolute(text);
}

// The value as the 64-bit registry holds it or, when that has no key, as a 32-bit installer
// wrote it; on a 32-bit system both views are the one registry.
bool read_installation(char* text, std::size_t capacity) {
    std::memset(text, 0, capacity);
    for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        HKEY opened = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, registry_key, 0, KEY_QUERY_VALUE | view, &opened) ==
            ERROR_SUCCESS) {
            const OwnedHandle key(opened, RegCloseKey);
            return read_install_dir(key.get(), text, capacity);
        }
    }
    return false;
}

// directory + "\" + file name; false when the result would not fit a path buffer.
bool compose_path(char (&path)[path_capacity], const char* directory, const char* file_name) {
    const int length = std::snprintf(path, path_capacity, "%s\\%s", directory, file_name);
    return length >= 0 && static_cast<std::size_t>(length) < path_capacity;
}

void clear_paths(Session& session) {
    for (char* path : {session.install_dir, session.config_file_path,
                       session.default_config_file_path, session.log_file_path}) {
        std::memset(path, 0, path_capacity);
    }
}

} // namespace

bool resolve_installation_paths(Session& session, char* error_text, std::size_t capacity) {
    if (capacity > 0) {
        std::memset(error_text, 0, capacity);
    }
    clear_paths(session);

    char value[path_capacity];
    if (read_installation(value, sizeof value)) {
        copy_text(session.install_dir, path_capacity, value);
        // A directory too long for its file names counts as no installation at all.
        if (compose_path(session.config_file_path, session.install_dir, "ryxc.conf") &&
            compose_path(session.default_config_file_path, session.install_dir,
                         "ryxc.conf.default") &&
            compose_path(session.log_file_path, session.install_dir, "ryxc.log")) {
            return true;
        }
        clear_paths(session);
    }

    append_line(error_text, capacity, LoadedString(IDS_ERR_NOT_INSTALLED).c_str());
    return false;
}

void load_configuration(Session& session) {
    session.default_record = ConfigRecord();
    session.file_record = ConfigRecord();
    ConfigFileRead config = read_config_file(session.config_file_path, session.file_record);
    for (int attempt = 1; config == ConfigFileRead::unreadable && attempt < open_attempts;
         ++attempt) {
        Sleep(open_retry_ms);
        config = read_config_file(session.config_file_path, session.file_record);
    }
    // A missing file is a new installation; one that is there but unreadable is worth a word,
    // before Apply replaces it.
    session.config_file_unreadable =
        config == ConfigFileRead::unreadable || config == ConfigFileRead::not_text;
    session.default_file_read = read_config_file(session.default_config_file_path,
                                                 session.default_record) == ConfigFileRead::read;
    session.working_record = session.file_record;
}
