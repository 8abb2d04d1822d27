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

SC_HANDLE ServiceControl::open_service() {
    return granted_access_ != 0
               ? calls_.open_service(manager_.get(), service_name_, granted_access_)
               : nullptr;
}

void ServiceControl::open() {
    // A monitor may reopen once a second for days: what a reopen replaces is closed first.
    manager_.reset();
    manager_.reset(calls_.open_manager(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (manager_.is_open()) {
        granted_access_ = SC_MANAGER_ALL_ACCESS;
    } else if (GetLastError() == ERROR_ACCESS_DENIED) {
        manager_.reset(calls_.open_manager(nullptr, nullptr, GENERIC_READ));
        if (manager_.is_open()) {
            granted_access_ = GENERIC_READ;
        }
    }
    // Without any access granted yet, the error is the one the manager open left.
    const OwnedHandle service(open_service(), calls_.close_handle);
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
    const OwnedHandle service(open_service(), calls_.close_handle);
    return service.is_open() && calls_.query_status(service.get(), &status_)
               ? status_.dwCurrentState
               : 0;
}

bool ServiceControl::start() {
    const OwnedHandle service(open_service(), calls_.close_handle);
    return note_outcome(service.is_open() && calls_.start_service(service.get(), 0, nullptr));
}

bool ServiceControl::stop() {
    const OwnedHandle service(open_service(), calls_.close_handle);
    return note_outcome(service.is_open() &&
                        calls_.control_service(service.get(), SERVICE_CONTROL_STOP, &status_));
}

bool ServiceControl::note_outcome(bool succeeded) {
    last_error_ = succeeded ? ERROR_SUCCESS : GetLastError();
    return succeeded;
}
