#include "tools/demo-client/demo_installer.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "base/bounded_text.h"
#include "base/owned_handle.h"
#include "config/config_record.h"
#include "config/config_writer.h"
#include "tools/demo-client/demo_service.h"
#include "tools/demo-client/own_location.h"

namespace {

constexpr const char* registry_key = "SOFTWARE\\Quorix\\RYX Client";
constexpr const char* registry_parent_key = "SOFTWARE\\Quorix";
constexpr const char* registry_value = "installdir";
constexpr const char* display_name = "RYX tunnel client (demo)";
constexpr const char* demo_server = "tunnel.example.net";
constexpr const char* default_keepalive_interval = "30";
constexpr DWORD stop_timeout_ms = 30000;
constexpr DWORD stop_poll_ms = 100;

bool fail(const char* what, DWORD error) {
    char reason[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                   reason, sizeof reason, nullptr);
    std::fprintf(stderr, "ryxc-demo: %s: error %lu %s\n", what, static_cast<unsigned long>(error),
                 reason);
    return false;
}

// The full path without a trailing separator, as the registry value and the files carry it.
bool full_directory(const char* dir, char* full, std::size_t capacity) {
    const DWORD length = GetFullPathNameA(dir, static_cast<DWORD>(capacity), full, nullptr);
    if (length == 0 || length >= capacity) {
        return false;
    }
    std::size_t end = std::strlen(full);
    while (end > 3 && (full[end - 1] == '\\' || full[end - 1] == '/')) {
        full[--end] = '\0';
    }
    return true;
}

bool is_directory(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Creates dir and every missing parent; the parents that exist already just fail to be made.
bool create_directories(const char* dir) {
    char partial[MAX_PATH];
    copy_text(partial, sizeof partial, dir);
    for (char* cursor = partial + 1; *cursor != '\0'; ++cursor) {
        if (*cursor == '\\' && cursor[-1] != ':' && cursor[-1] != '\\') {
            *cursor = '\0';
            CreateDirectoryA(partial, nullptr);
            *cursor = '\\';
        }
    }
    CreateDirectoryA(partial, nullptr);
    return is_directory(dir);
}

bool copy_program(const char* dir, char* copy, std::size_t capacity) {
    char own[MAX_PATH];
    if (!own_executable_path(own, sizeof own) || !join_path(copy, capacity, dir, "ryxc-demo.exe")) {
        return fail("path too long", ERROR_FILENAME_EXCED_RANGE);
    }
    // Installing again from the installed copy: it is in place already.
    if (lstrcmpiA(own, copy) == 0) {
        return true;
    }
    if (!CopyFileA(own, copy, FALSE)) {
        return fail("cannot copy the program into the install directory", GetLastError());
    }
    return true;
}

bool create_service(const char* program) {
    const OwnedHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS),
                              CloseServiceHandle);
    if (!manager.is_open()) {
        return fail("cannot open the service manager", GetLastError());
    }
    // Quoted, so that a directory with spaces cannot be read as a shorter program path.
    char binary_path[MAX_PATH + 2];
    std::snprintf(binary_path, sizeof binary_path, "\"%s\"", program);
    OwnedHandle created(CreateServiceA(manager.get(), DemoService::service_name, display_name,
                                       SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                       SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, binary_path,
                                       nullptr, nullptr, nullptr, nullptr, nullptr),
                        CloseServiceHandle);
    if (created.is_open()) {
        return true;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_SERVICE_EXISTS) {
        return fail("cannot create the service", error);
    }
    // Installed before: point the service at this install directory.
    const OwnedHandle existing(
        OpenServiceA(manager.get(), DemoService::service_name, SERVICE_CHANGE_CONFIG),
        CloseServiceHandle);
    if (!existing.is_open()) {
        return fail("cannot open the existing service", GetLastError());
    }
    if (!ChangeServiceConfigA(existing.get(), SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                              SERVICE_ERROR_NORMAL, binary_path, nullptr, nullptr, nullptr, nullptr,
                              nullptr, display_name)) {
        return fail("cannot update the existing service", GetLastError());
    }
    return true;
}

bool record_install_dir(const char* dir) {
    HKEY opened = nullptr;
    const LONG created = RegCreateKeyExA(HKEY_LOCAL_MACHINE, registry_key, 0, nullptr, 0,
                                         KEY_SET_VALUE, nullptr, &opened, nullptr);
    if (created != ERROR_SUCCESS) {
        return fail("cannot create the registry key", static_cast<DWORD>(created));
    }
    const OwnedHandle key(opened, RegCloseKey);
    const LONG set =
        RegSetValueExA(key.get(), registry_value, 0, REG_SZ, reinterpret_cast<const BYTE*>(dir),
                       static_cast<DWORD>(std::strlen(dir) + 1));
    if (set != ERROR_SUCCESS) {
        return fail("cannot set the registry value", static_cast<DWORD>(set));
    }
    return true;
}

bool write_configuration(const char* dir) {
    char default_path[MAX_PATH];
    char config_path[MAX_PATH];
    if (!join_path(default_path, sizeof default_path, dir, "ryxc.conf.default") ||
        !join_path(config_path, sizeof config_path, dir, "ryxc.conf")) {
        return fail("path too long", ERROR_FILENAME_EXCED_RANGE);
    }
    // The defaults name no server: that is for the user to choose.
    ConfigRecord defaults;
    defaults.set_keepalive(true);
    defaults.parse_keepalive_interval(default_keepalive_interval);
    if (!write_config_file(default_path, dir, defaults)) {
        return fail("cannot write ryxc.conf.default", ERROR_WRITE_FAULT);
    }
    // The user's settings survive a repeated install.
    if (GetFileAttributesA(config_path) != INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    // A server name, so that the demo service has a tunnel to pretend to keep.
    ConfigRecord demo = defaults;
    demo.set_server(demo_server);
    if (!write_config_file(config_path, dir, demo)) {
        return fail("cannot write ryxc.conf", ERROR_WRITE_FAULT);
    }
    return true;
}

// Sends the stop control until the service takes it (it refuses while starting) and waits
// for it to report itself stopped.
bool stop_and_wait(SC_HANDLE service) {
    const ULONGLONG deadline = GetTickCount64() + stop_timeout_ms;
    for (;;) {
        SERVICE_STATUS status = {};
        if (!QueryServiceStatus(service, &status)) {
            return fail("cannot query the service", GetLastError());
        }
        if (status.dwCurrentState == SERVICE_STOPPED) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return fail("the service did not stop in time", ERROR_SERVICE_REQUEST_TIMEOUT);
        }
        if (status.dwCurrentState != SERVICE_STOP_PENDING) {
            ControlService(service, SERVICE_CONTROL_STOP, &status);
        }
        Sleep(stop_poll_ms);
    }
}

bool remove_service() {
    const OwnedHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS),
                              CloseServiceHandle);
    if (!manager.is_open()) {
        return fail("cannot open the service manager", GetLastError());
    }
    const OwnedHandle service(OpenServiceA(manager.get(), DemoService::service_name,
                                           SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE),
                              CloseServiceHandle);
    if (!service.is_open()) {
        const DWORD error = GetLastError();
        // Nothing to remove is what uninstall wants.
        return error == ERROR_SERVICE_DOES_NOT_EXIST || fail("cannot open the service", error);
    }
    if (!stop_and_wait(service.get())) {
        return false;
    }
    if (!DeleteService(service.get())) {
        const DWORD error = GetLastError();
        return error == ERROR_SERVICE_MARKED_FOR_DELETE || fail("cannot delete the service", error);
    }
    return true;
}

// Leaves keys that others still use.
void delete_key_if_empty(const char* path) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
        return;
    }
    DWORD subkeys = 0;
    DWORD values = 0;
    LONG queried;
    {
        const OwnedHandle key(opened, RegCloseKey);
        queried = RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                   &values, nullptr, nullptr, nullptr, nullptr);
    }
    if (queried == ERROR_SUCCESS && subkeys == 0 && values == 0) {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, path);
    }
}

bool forget_install_dir() {
    HKEY opened_key = nullptr;
    const LONG opened =
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, registry_key, 0, KEY_SET_VALUE, &opened_key);
    if (opened == ERROR_FILE_NOT_FOUND) {
        return true;
    }
    if (opened != ERROR_SUCCESS) {
        return fail("cannot open the registry key", static_cast<DWORD>(opened));
    }
    const LONG deleted = [&] {
        const OwnedHandle key(opened_key, RegCloseKey);
        return RegDeleteValueA(key.get(), registry_value);
    }();
    if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND) {
        return fail("cannot delete the registry value", static_cast<DWORD>(deleted));
    }
    delete_key_if_empty(registry_key);
    delete_key_if_empty(registry_parent_key);
    return true;
}

} // namespace

bool install_demo(const char* dir) {
    char full[MAX_PATH];
    if (!full_directory(dir, full, sizeof full)) {
        return fail("invalid install directory", ERROR_BAD_PATHNAME);
    }
    if (!create_directories(full)) {
        return fail("cannot create the install directory", GetLastError());
    }
    char program[MAX_PATH];
    return copy_program(full, program, sizeof program) && write_configuration(full) &&
           create_service(program) && record_install_dir(full);
}

bool uninstall_demo() {
    // The registry value goes even when the service is gone already.
    const bool service_removed = remove_service();
    const bool value_removed = forget_install_dir();
    return service_removed && value_removed;
}
