// The connection to the Service Control Manager for one service: open (with a fall-back to
// read access), query the service's state, start it, ask it to stop.
#pragma once

#include <windows.h>

#include <cstddef>

#include "base/owned_handle.h"
#include "service/service_manager_calls.h"

class ServiceControl {
public:
    static constexpr std::size_t name_capacity = 256;

    // Opens the manager and looks for the service at once; the outcome shows in
    // is_available.
    explicit ServiceControl(const char* service_name,
                            const ServiceManagerCalls& calls = ServiceManagerCalls::system);
    ServiceControl(const ServiceControl&) = delete;
    ServiceControl& operator=(const ServiceControl&) = delete;

    void open();
    bool reopen();
    bool is_available() const { return available_; }
    DWORD granted_access() const { return granted_access_; }

    // The service's current state (SERVICE_STOPPED 1 .. SERVICE_PAUSED 7); 0 when unknown.
    DWORD query_state();
    bool start();
    bool stop();
    // Why the last start or stop failed (ERROR_SUCCESS after one that did not).
    DWORD last_error() const { return last_error_; }

private:
    // The service is opened for each operation and closed right after: an open handle
    // would keep a removed service alive ("marked for delete") and block its reinstallation.
    SC_HANDLE open_service();
    // Keeps the reason of a failure before closing the service can change it.
    bool note_outcome(bool succeeded);

    const ServiceManagerCalls& calls_;
    OwnedHandle<SC_HANDLE> manager_;
    SERVICE_STATUS status_ = {};
    bool available_ = true;
    DWORD granted_access_ = 0;
    DWORD last_error_ = ERROR_SUCCESS;
    char service_name_[name_capacity];
};
