#include "app/program_actions.h"

#include "app/startup.h"
#include "base/owned_handle.h"
#include "base/string_table.h"
#include "config/config_reader.h"
#include "config/config_record.h"
#include "config/config_writer.h"
#include "config/session.h"
#include "service/service_control.h"

namespace {

constexpr DWORD no_installation = 1;
constexpr DWORD wait_ms = 30000;
constexpr DWORD poll_ms = 100;
constexpr std::size_t message_capacity = 4096;

// Polls the service until it reports the wanted state.
DWORD wait_for(ServiceControl& service, DWORD wanted) {
    const ULONGLONG deadline = GetTickCount64() + wait_ms;
    for (;;) {
        const DWORD state = service.query_state();
        if (state == wanted) {
            return ERROR_SUCCESS;
        }
        // Stopped again before it ran: the client quit at once.
        if (wanted == SERVICE_RUNNING && state == SERVICE_STOPPED) {
            return ERROR_SERVICE_NOT_ACTIVE;
        }
        if (GetTickCount64() >= deadline) {
            return ERROR_SERVICE_REQUEST_TIMEOUT;
        }
        Sleep(poll_ms);
    }
}

DWORD start_service() {
    ServiceControl service("ryx");
    return service.start() ? wait_for(service, SERVICE_RUNNING) : service.last_error();
}

DWORD stop_service() {
    ServiceControl service("ryx");
    return service.stop() ? wait_for(service, SERVICE_STOPPED) : service.last_error();
}

// The file read as ryxc.conf is read at start-up, into a record that holds what a record holds
// before any file is read; checked as Apply checks it; written as Apply writes it.
DWORD write_configuration(const char* file, const Session& session) {
    {
        // The reader knows only that a file could not be read: the system knows why.
        const OwnedHandle readable(
            CreateFileA(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
            CloseHandle);
        if (!readable.is_open()) {
            return GetLastError();
        }
    }
    ConfigRecord record;
    switch (read_config_file(file, record)) {
    case ConfigFileRead::read:
        break;
    case ConfigFileRead::missing:
        return ERROR_FILE_NOT_FOUND;
    case ConfigFileRead::unreadable:
        return ERROR_READ_FAULT;
    case ConfigFileRead::not_text:
        return ERROR_INVALID_DATA;
    }
    char messages[message_capacity];
    if (!record.validate(messages, sizeof messages, StringTable(GetModuleHandleA(nullptr)))) {
        return ERROR_INVALID_DATA;
    }
    unsigned long error = ERROR_SUCCESS;
    write_config_file(session.config_file_path, session.install_dir, record, &error);
    return error;
}

} // namespace

DWORD run_action(const ActionRequest& request) {
    // Nobody is there to answer a box, not even the system's for a drive without its disk.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    if (request.action == ProgramAction::invalid || request.action == ProgramAction::none) {
        return ERROR_INVALID_PARAMETER;
    }
    // The only place written to is the installation's own file, found as start-up finds it.
    Session session;
    char error_text[message_capacity];
    if (!resolve_installation_paths(session, error_text, sizeof error_text)) {
        return no_installation;
    }
    switch (request.action) {
    case ProgramAction::start:
        return start_service();
    case ProgramAction::stop:
        return stop_service();
    default:
        return write_configuration(request.file.c_str(), session);
    }
}
