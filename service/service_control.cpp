#include "service/service_control.h"

#include "config/bounded_text.h"

const ServiceManagerCalls ServiceManagerCalls::system = {
    OpenSCManagerA, OpenServiceA, QueryServiceStatus, StartServiceA, ControlService,
    CloseServiceHandle,
};

namespace {

// The errors after which the service counts as absent and is looked for again later.
bool means_unavailable(DWORD error) {
    return error == ERROR_SERVICE_DOES_NOT_EXIST || error == ERROR_INVALID_NAME ||
           error == ERROR_ACCESS_DENIED || error == ERROR_INVALID_HANDLE;
}

} // namespace

ServiceControl::ServiceControl(const char* service_name, const ServiceManagerCalls& calls)
    : calls_(calls) {
    copy_text(service_name_, sizeof service_name_, service_name);
    open();
}

ServiceControl::~ServiceControl() { close_manager(); }

void ServiceControl::close_manager() {
    // A monitor may reopen once a second for days: never leak what a reopen replaces.
    if (manager_ != nullptr) {
        calls_.close_handle(manager_);
        manager_ = nullptr;
    }
}

SC_HANDLE ServiceControl::open_service() {
    return granted_access_ != 0 ? calls_.open_service(manager_, service_name_, granted_access_)
                                : nullptr;
}

void ServiceControl::close_service(SC_HANDLE service) {
    if (service != nullptr) {
        calls_.close_handle(service);
    }
}

void ServiceControl::open() {
    close_manager();
    manager_ = calls_.open_manager(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (manager_ != nullptr) {
        granted_access_ = SC_MANAGER_ALL_ACCESS;
    } else if (GetLastError() == ERROR_ACCESS_DENIED) {
        manager_ = calls_.open_manager(nullptr, nullptr, GENERIC_READ);
        if (manager_ != nullptr) {
            granted_access_ = GENERIC_READ;
        }
    }
    // Without any access granted yet, the error is the one the manager open left.
    const SC_HANDLE service = open_service();
    const DWORD error = GetLastError();
    if (service != nullptr) {
        close_service(service);
        available_ = true;
    } else if (means_unavailable(error)) {
        available_ = false;
    }
}

bool ServiceControl::reopen() {
    open();
    return available_;
}

DWORD ServiceControl::query_state() {
    const SC_HANDLE service = open_service();
    const bool queried = service != nullptr && calls_.query_status(service, &status_);
    close_service(service);
    return queried ? status_.dwCurrentState : 0;
}

bool ServiceControl::start() {
    const SC_HANDLE service = open_service();
    const bool started = service != nullptr && calls_.start_service(service, 0, nullptr);
    close_service(service);
    return started;
}

bool ServiceControl::stop() {
    const SC_HANDLE service = open_service();
    const bool stopping =
        service != nullptr && calls_.control_service(service, SERVICE_CONTROL_STOP, &status_);
    close_service(service);
    return stopping;
}
