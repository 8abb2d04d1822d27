// The stand-in tunnel client as a user meets it: install, its files, its log, its service.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/program_driver.h"
#include "service/service_control.h"
#include "support/temp_dir.h"
#include "win/demo_installation.h"

namespace {

const char* const client_key = "SOFTWARE\\Quorix\\RYX Client";

std::string registry_install_dir() {
    char value[MAX_PATH] = "(none)";
    DWORD size = sizeof value;
    RegGetValueA(HKEY_LOCAL_MACHINE, client_key, "installdir", RRF_RT_REG_SZ, nullptr, value,
                 &size);
    return value;
}

// The program the service "ryx" runs; empty when there is no such service.
std::string service_binary() {
    const SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    const SC_HANDLE service = OpenServiceA(manager, "ryx", SERVICE_QUERY_CONFIG);
    std::vector<char> buffer(8192);
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
    DWORD needed = 0;
    const bool found = service && QueryServiceConfigA(service, config, 8192, &needed);
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return found ? config->lpBinaryPathName : "";
}

} // namespace

TEST(DemoClient, InstallSetsUpTheClientAndUninstallRemovesAllButItsDirectory) {
    const DemoInstallation demo;
    ASSERT_TRUE(demo.install());
    EXPECT_EQ("\"" + demo.file("ryxc-demo.exe") + "\"", service_binary());
    EXPECT_EQ(demo.dir(), registry_install_dir());
    for (const char* name : {"ryxc-demo.exe", "ryxc.conf", "ryxc.conf.default"})
        EXPECT_TRUE(file_exists(demo.file(name))) << name;

    ASSERT_TRUE(demo.uninstall());
    EXPECT_FALSE(service_exists("ryx"));
    HKEY key = nullptr;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, client_key, 0, KEY_READ, &key));
    for (const char* name : {"ryxc-demo.exe", "ryxc.conf"})
        EXPECT_TRUE(file_exists(demo.file(name))) << name;
}

TEST(DemoClient, WithoutServerLogsWhyAndTheQuitLineAndStopsItself) {
    const DemoInstallation demo;
    ASSERT_TRUE(demo.install());
    write_bytes(demo.file("ryxc.conf"), "# no server\nkeepalive=yes\n");
    ServiceControl service("ryx");
    ASSERT_TRUE(service.start());
    ASSERT_EQ(static_cast<DWORD>(SERVICE_STOPPED), wait_for_state(service, SERVICE_STOPPED, 20000));

    std::istringstream log(read_bytes(demo.file("ryxc.log")));
    const std::regex layout(R"(\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2} tunnel: ([^\r\n]+)\r)");
    std::set<std::string> messages;
    for (std::string line; std::getline(log, line);) {
        std::smatch match;
        EXPECT_TRUE(std::regex_match(line, match, layout)) << line;
        messages.insert(match.size() > 1 ? match[1].str() : line);
    }
    EXPECT_EQ(1u, messages.count("No server configured in " + demo.file("ryxc.conf")));
    EXPECT_EQ(1u, messages.count("Signaling service to stop because client quitted"));
}
