#include "tools/demo-client/demo_service.h"

#include <cstdint>
#include <cstdio>

#include "base/bounded_text.h"
#include "config/config_reader.h"
#include "tools/demo-client/own_location.h"

DemoService* DemoService::instance_ = nullptr;

namespace {

// Each pending state lasts about a second, so that a viewer polling twice a second sees it.
constexpr int pending_steps = 4;
constexpr DWORD pending_step_ms = 250;
constexpr DWORD pending_wait_hint_ms = 3000;
constexpr std::size_t message_capacity = 1400;
constexpr DWORD quit_exit_code = 1;
constexpr int marker_polls = 600;
constexpr DWORD marker_poll_ms = 100;

DWORD keepalive_period_ms(const ConfigRecord& config) {
    if (!config.get_keepalive() || config.get_keepalive_interval() <= 0) {
        return INFINITE;
    }
    const std::int64_t period = std::int64_t{config.get_keepalive_interval()} * 1000;
    return period < INFINITE ? static_cast<DWORD>(period) : INFINITE - 1;
}

} // namespace

bool DemoService::run_as_service() {
    char directory[MAX_PATH];
    char log_path[MAX_PATH];
    if (!own_directory(directory, sizeof directory) ||
        !join_path(log_path, sizeof log_path, directory, "ryxc.log")) {
        std::fprintf(stderr, "ryxc-demo: the program's own path is too long\n");
        return false;
    }
    // Lives until the dispatcher returns, which is after the service reported itself stopped
    // and no control can reach the handler any more.
    hold_while_marked(directory, hang_start_marker);
    DemoService service(directory, log_path);
    instance_ = &service;
    char name[16];
    copy_text(name, sizeof name, service_name);
    const SERVICE_TABLE_ENTRYA table[] = {{name, service_main}, {nullptr, nullptr}};
    const bool dispatched = StartServiceCtrlDispatcherA(table) != FALSE;
    const DWORD error = GetLastError();
    instance_ = nullptr;
    if (!dispatched) {
        std::fprintf(stderr,
                     "ryxc-demo: not started by the service manager (error %lu).\n"
                     "usage: ryxc-demo install DIR | ryxc-demo uninstall\n",
                     static_cast<unsigned long>(error));
    }
    return dispatched;
}

DemoService::DemoService(const char* directory, const char* log_path) : log_(log_path) {
    copy_text(directory_, sizeof directory_, directory);
    status_.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
}

DemoService::~DemoService() {
    if (stop_requested_ != nullptr) {
        CloseHandle(stop_requested_);
    }
}

void WINAPI DemoService::service_main(DWORD, LPSTR*) {
    if (instance_ != nullptr) {
        instance_->serve();
    }
}

DWORD WINAPI DemoService::control_handler(DWORD control, DWORD, void*, void* context) {
    auto* service = static_cast<DemoService*>(context);
    switch (control) {
    case SERVICE_CONTROL_STOP:
        // The serving thread does the stopping; the handler must return at once.
        hold_while_marked(service->directory_, slow_stop_marker);
        SetEvent(service->stop_requested_);
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

void DemoService::serve() {
    stop_requested_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    status_handle_ = RegisterServiceCtrlHandlerExA(service_name, control_handler, this);
    if (status_handle_ == nullptr || stop_requested_ == nullptr) {
        log("Cannot register with the service manager");
        return;
    }
    report(SERVICE_START_PENDING, pending_wait_hint_ms);
    log("Starting tunnel client");
    if (!read_configuration()) {
        // The line a viewer watches for to tell the user that the client gave up.
        log(quit_line);
        stop(quit_exit_code);
        return;
    }
    log("Connecting to %s (simulated)", config_.get_server());
    linger(SERVICE_START_PENDING);
    report(SERVICE_RUNNING, 0);
    log("Tunnel established with %s (simulated)", config_.get_server());
    keep_tunnel_up();
    stop(NO_ERROR);
}

bool DemoService::read_configuration() {
    char path[MAX_PATH];
    if (!join_path(path, sizeof path, directory_, "ryxc.conf")) {
        log("Configuration path too long");
        return false;
    }
    if (read_config_file(path, config_) != ConfigFileRead::read) {
        log("Cannot read configuration file %s", path);
        return false;
    }
    if (config_.get_server() == nullptr) {
        log("No server configured in %s", path);
        return false;
    }
    return true;
}

void DemoService::keep_tunnel_up() {
    const DWORD period = keepalive_period_ms(config_);
    while (WaitForSingleObject(stop_requested_, period) == WAIT_TIMEOUT) {
        log("Keepalive sent to %s (simulated)", config_.get_server());
    }
}

void DemoService::stop(DWORD exit_code) {
    report(SERVICE_STOP_PENDING, pending_wait_hint_ms);
    log("Stopping tunnel client");
    linger(SERVICE_STOP_PENDING);
    log("Tunnel client stopped");
    if (exit_code != NO_ERROR) {
        status_.dwWin32ExitCode = ERROR_SERVICE_SPECIFIC_ERROR;
        status_.dwServiceSpecificExitCode = exit_code;
    }
    report(SERVICE_STOPPED, 0);
}

void DemoService::report(DWORD state, DWORD wait_hint_ms) {
    const bool pending = state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING;
    status_.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
    status_.dwWaitHint = wait_hint_ms;
    // Checkpoints count up within one pending state, so the manager sees it make progress.
    status_.dwCheckPoint =
        !pending ? 0 : (state == status_.dwCurrentState ? status_.dwCheckPoint + 1 : 1);
    status_.dwCurrentState = state;
    SetServiceStatus(status_handle_, &status_);
}

void DemoService::linger(DWORD state) {
    for (int step = 0; step < pending_steps; ++step) {
        Sleep(pending_step_ms);
        report(state, pending_wait_hint_ms);
    }
}

void DemoService::hold_while_marked(const char* directory, const char* marker) {
    char path[MAX_PATH];
    if (!join_path(path, sizeof path, directory, marker)) {
        return;
    }
    for (int poll = 0; poll < marker_polls && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
         ++poll) {
        Sleep(marker_poll_ms);
    }
}

void DemoService::log(const char* message) const {
    log_.write(message);
}

void DemoService::log(const char* format, const char* text) const {
    char message[message_capacity];
    std::snprintf(message, sizeof message, format, text);
    log_.write(message);
}
