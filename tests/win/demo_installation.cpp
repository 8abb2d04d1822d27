#include "win/demo_installation.h"

#include "e2e/program_driver.h"
#include "service/service_control.h"

namespace {

constexpr DWORD program_timeout_ms = 60000;
constexpr DWORD poll_interval_ms = 5;
constexpr const char* registry_key = "SOFTWARE\\Quorix\\RYX Client";

} // namespace

DemoInstallation::DemoInstallation() : dir_(temp_.path() + "\\Quorix\\RYX Client") {
    if (service_exists("ryx")) {
        run_demo_client("uninstall");
    }
}

DemoInstallation::~DemoInstallation() {
    uninstall();
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, registry_key);
}

bool DemoInstallation::install() const {
    return run_demo_client("install \"" + dir_ + "\"") == 0;
}

bool DemoInstallation::uninstall() const {
    return run_demo_client("uninstall") == 0;
}

DWORD run_demo_client(const std::string& arguments) {
    const ProgramDriver client("\"" + executable_directory() + "\\ryxc-demo.exe\" " + arguments);
    DWORD exit_code = no_exit_code;
    if (!client.wait_for_exit(program_timeout_ms, exit_code)) {
        return no_exit_code;
    }
    return exit_code;
}

bool service_exists(const char* name) {
    const SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (manager == nullptr) {
        return false;
    }
    const SC_HANDLE service = OpenServiceA(manager, name, SERVICE_QUERY_STATUS);
    if (service != nullptr) {
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return service != nullptr;
}

DWORD wait_for_state(ServiceControl& service, DWORD wanted, DWORD timeout_ms,
                     std::set<DWORD>* seen) {
    DWORD state = 0;
    wait_until(
        [&] {
            state = service.query_state();
            if (seen != nullptr) {
                seen->insert(state);
            }
            return state == wanted;
        },
        timeout_ms, poll_interval_ms);
    return state;
}
