#include "win/demo_installation.h"

#include "e2e/program_driver.h"
#include "service/service_control.h"
#include "win/registry_fixture.h"

namespace {

// The stand-in client beside this executable, run to its end with exit code 0.
bool run_demo_client(const std::string& arguments) {
    const ProgramDriver client("\"" + executable_directory() + "\\ryxc-demo.exe\" " + arguments);
    return client.exit_code(60000) == 0;
}

} // namespace

DemoInstallation::DemoInstallation(const std::string& directory)
    : dir_(directory.empty() ? temp_.path() + "\\Quorix\\RYX Client" : directory) {
    uninstall();
}

DemoInstallation::~DemoInstallation() {
    uninstall();
    RegistryFixture::remove_key();
}

bool DemoInstallation::install() const {
    return run_demo_client("install \"" + dir_ + "\"");
}

bool DemoInstallation::uninstall() const {
    return run_demo_client("uninstall");
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
        timeout_ms, 5); // closely: the pending states are brief
    return state;
}
