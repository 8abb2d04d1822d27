#include "service/service_control.h"

#include "base/bounded_text.h"
#include "base/owned_handle.h"

const ServiceManagerCalls ServiceManagerCalls::system = {
    OpenSCManagerA, OpenServiceA,   QueryServiceStatus,
    StartServiceA,  ControlService, CloseServiceHandle,
};

namespace {

// The errors after which the service counts as absent and is looked for again later.
bool means_unavailable(DWORD error) {
    return error == ERROR_SERVICE_DOES_NOT_EXIST || error == ERROR_INVALID_NAME ||
           error == ERROR_ACCESS_DENIED || error == ERROR_INVALID_HANDLE;
}

} // namespace

ServiceControl::ServiceControl(const char* service_name, const ServiceManagerCalls& calls)
    : calls_(calls), manager_(nullptr, calls.close_handle) {
    copy_text(service_name_, sizeof service_name_, service_name);
    open();
}

SC_HANDLE ServiceControl::open_service(DWORD access) {
    if (!manager_.is_open()) {
        SetLastError(manager_error_); // the reason is the connection's
        return nullptr;
    }
    return calls_.open_service(manager_.get(), service_name_, access);
}

void ServiceControl::open() {
    // A monitor may reopen once a second for days: what a reopen replaces is closed first.
    manager_.reset();
    manager_.reset(calls_.open_manager(nullptr, nullptr, SC_MANAGER_CONNECT));
    manager_error_ = manager_.is_open() ? ERROR_SUCCESS : GetLastError();
    const OwnedHandle service(open_service(query_access), calls_.close_handle);
    const DWORD error = GetLastError();
    if (service.is_open()) {
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
    const OwnedHandle service(open_service(query_access), calls_.close_handle);
    return service.is_open() && calls_.query_status(service.get(), &status_)
               ? status_.dwCurrentState
               : 0;
}

bool ServiceControl::start() {
    const OwnedHandle service(open_service(start_access), calls_.close_handle);
    return note_outcome(service.is_open() && calls_.start_service(service.get(), 0, nullptr));
}

bool ServiceControl::stop() {
    const OwnedHandle service(open_service(stop_access), calls_.close_handle);
    return note_outcome(service.is_open() &&
                        calls_.control_service(service.get(), SERVICE_CONTROL_STOP, &status_));
}

bool ServiceControl::refuses(DWORD access) {
    const OwnedHandle service(open_service(access), calls_.close_handle);
    return !service.is_open() && GetLastError() == ERROR_ACCESS_DENIED;
}

bool ServiceControl::note_outcome(bool succeeded) {
    last_error_ = succeeded ? ERROR_SUCCESS : GetLastError();
    return succeeded;
}
