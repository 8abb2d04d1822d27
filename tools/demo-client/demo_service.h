// The service body of the stand-in tunnel client: its state reports to the service manager
// and a tunnel that exists only as lines in ryxc.log.
#pragma once

#include <windows.h>

#include "config/config_record.h"
#include "tools/demo-client/tunnel_log.h"

class DemoService {
public:
    static constexpr const char* service_name = "ryx";
    static constexpr const char* quit_line = "Signaling service to stop because client quitted";
    // Misbehaviours a test can switch on with a file of this name beside the program, and off
    // again by deleting it: a start that never reaches the service manager, a stop whose
    // control handler does not return. Each lasts a minute at most.
    static constexpr const char* hang_start_marker = "hang-start";
    static constexpr const char* slow_stop_marker = "slow-stop";

    // Hands the process to the service manager until the service has stopped; false when
    // the program was not started by the manager.
    static bool run_as_service();

private:
    DemoService(const char* directory, const char* log_path);
    ~DemoService();
    DemoService(const DemoService&) = delete;
    DemoService& operator=(const DemoService&) = delete;

    static void WINAPI service_main(DWORD argument_count, LPSTR* arguments);
    static DWORD WINAPI control_handler(DWORD control, DWORD event_type, void* event_data,
                                        void* context);

    void serve();
    bool read_configuration();
    void keep_tunnel_up();
    void stop(DWORD exit_code);
    void report(DWORD state, DWORD wait_hint_ms);
    void linger(DWORD state);
    static void hold_while_marked(const char* directory, const char* marker);
    void log(const char* message) const;
    void log(const char* format, const char* text) const;

    static DemoService* instance_;

    char directory_[MAX_PATH];
    TunnelLog log_;
    ConfigRecord config_;
    SERVICE_STATUS_HANDLE status_handle_ = nullptr;
    SERVICE_STATUS status_ = {};
    HANDLE stop_requested_ = nullptr;
};
