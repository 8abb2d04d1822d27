#include "app/startup.h"

#include <cstdio>
#include <cstring>

#include "app/loaded_string.h"
#include "app/owned_handle.h"
#include "config/bounded_text.h"
#include "config/config_reader.h"
#include "res/resource.h"

HINSTANCE app_instance = nullptr;
MainWindow* main_window = nullptr;

char install_dir[path_capacity];
char config_file_path[path_capacity];
char default_config_file_path[path_capacity];
char log_file_path[path_capacity];

ConfigRecord default_record;
ConfigRecord file_record;
ConfigRecord working_record;

namespace {

constexpr const char* registry_key = "SOFTWARE\\Quorix\\RYX Client";
constexpr const char* registry_value = "installdir";
constexpr std::size_t error_text_capacity = 4096;

// Reads a registry value of any type as text; false when absent or when it needs more than
// capacity bytes with its terminator.
bool read_registry_text(HKEY root, const char* path, const char* name, char* text,
                        std::size_t capacity) {
    std::memset(text, 0, capacity);
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
        return false;
    }
    const OwnedHandle key(opened, RegCloseKey);
    DWORD size = static_cast<DWORD>(capacity);
    if (RegQueryValueExA(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) !=
        ERROR_SUCCESS) {
        return false;
    }
    // The data need not carry its terminator: add one inside the buffer, or refuse.
    if (size > 0 && text[size - 1] == '\0') {
        return true;
    }
    if (size >= capacity) {
        return false;
    }
    text[size] = '\0';
    return true;
}

// directory + "\" + file name; false when the result would not fit a path buffer.
bool compose_path(char* path, const char* directory, const char* file_name) {
    const int length = std::snprintf(path, path_capacity, "%s\\%s", directory, file_name);
    return length >= 0 && static_cast<std::size_t>(length) < path_capacity;
}

void clear_paths() {
    std::memset(install_dir, 0, path_capacity);
    std::memset(config_file_path, 0, path_capacity);
    std::memset(default_config_file_path, 0, path_capacity);
    std::memset(log_file_path, 0, path_capacity);
}

} // namespace

bool resolve_installation_paths(char* error_text, std::size_t capacity) {
    if (capacity > 0) {
        std::memset(error_text, 0, capacity);
    }
    clear_paths();

    char value[path_capacity];
    if (read_registry_text(HKEY_LOCAL_MACHINE, registry_key, registry_value, value, sizeof value)) {
        copy_text(install_dir, path_capacity, value);
        // A directory too long for its file names counts as no installation at all.
        if (compose_path(config_file_path, install_dir, "ryxc.conf") &&
            compose_path(default_config_file_path, install_dir, "ryxc.conf.default") &&
            compose_path(log_file_path, install_dir, "ryxc.log")) {
            return true;
        }
        clear_paths();
    }

    append_line(error_text, capacity, LoadedString(IDS_ERR_NOT_INSTALLED).c_str());
    return false;
}

bool initialise() {
    char error_text[error_text_capacity];
    default_record = ConfigRecord();
    file_record = ConfigRecord();
    if (!resolve_installation_paths(error_text, sizeof error_text)) {
        MessageBoxA(nullptr, error_text, nullptr, MB_ICONERROR | MB_OK);
        ExitProcess(1);
    }
    read_config_file(config_file_path, file_record);
    read_config_file(default_config_file_path, default_record);
    working_record = ConfigRecord(file_record);
    return true;
}
