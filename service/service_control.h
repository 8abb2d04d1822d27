// The connection to the Service Control Manager for one service: look for it, query its state,
// start it, ask it to stop, each asking for no more rights than that one operation needs, and
// tell whether the user lacks the rights to start or stop it.
#pragma once

#include <windows.h>

#include <cstddef>

#include "base/owned_handle.h"
#include "service/service_manager_calls.h"

class ServiceControl {
public:
    static constexpr std::size_t name_capacity = 256;
    // What each operation asks of the service. A standard user is usually granted the first
    // only; the manager itself is opened just to connect, which everyone may.
    static constexpr DWORD query_access = SERVICE_QUERY_STATUS;
    static constexpr DWORD start_access = SERVICE_START | SERVICE_QUERY_STATUS;
    static constexpr DWORD stop_access = SERVICE_STOP | SERVICE_QUERY_STATUS;

    // Connects to the manager and looks for the service at once; the outcome shows in
    // is_available.
    explicit ServiceControl(const char* service_name,
                            const ServiceManagerCalls& calls = ServiceManagerCalls::system);
    ServiceControl(const ServiceControl&) = delete;
    ServiceControl& operator=(const ServiceControl&) = delete;

    void open();
    bool reopen();
    bool is_available() const { return available_; }

    // The service's current state (SERVICE_STOPPED 1 .. SERVICE_PAUSED 7); 0 when unknown.
    DWORD query_state();
    bool start();
    bool stop();
    // Why the last start or stop failed (ERROR_SUCCESS after one that did not).
    DWORD last_error() const { return last_error_; }

    // True when the manager refuses this user the rights that start (or stop) asks for, so
    // that only an elevated run could do it. A missing service, or any other failure, is no
    // matter of rights: the command itself then says what went wrong.
    bool start_needs_elevation() { return refuses(start_access); }
    bool stop_needs_elevation() { return refuses(stop_access); }

private:
    // The service is opened for each operation and closed right after: an open handle
    // would keep a removed service alive ("marked for delete") and block its reinstallation.
    SC_HANDLE open_service(DWORD access);
    bool refuses(DWORD access);
    // Keeps the reason of a failure before closing the service can change it.
    bool note_outcome(bool succeeded);

    const ServiceManagerCalls& calls_;
    OwnedHandle<SC_HANDLE> manager_;
    DWORD manager_error_ = ERROR_SUCCESS; // why there is no connection, while there is none
    SERVICE_STATUS status_ = {};
    bool available_ = true;
    DWORD last_error_ = ERROR_SUCCESS;
    char service_name_[name_capacity];
};
