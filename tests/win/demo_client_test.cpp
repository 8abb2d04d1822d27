// The stand-in tunnel client installed and removed as a user does it; its log is followed
// by the end-to-end log test and its service by the service tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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
