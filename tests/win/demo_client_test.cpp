// The stand-in tunnel client as a user meets it: install, its files, its log, its service.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "config/config_reader.h"
#include "config/config_record.h"
#include "e2e/program_driver.h"
#include "service/service_control.h"
#include "support/temp_dir.h"
#include "win/demo_installation.h"

namespace {

constexpr DWORD state_timeout_ms = 20000;

std::string registry_install_dir() {
    char value[MAX_PATH] = {};
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quorix\\RYX Client", "installdir",
                     RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
        return "(none)";
    }
    return value;
}

bool registry_key_exists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quorix\\RYX Client", 0, KEY_QUERY_VALUE,
                      &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

struct ServiceSetup {
    std::string binary_path;
    DWORD type;
    DWORD start_type;
};

ServiceSetup service_setup() {
    ServiceSetup setup = {"(none)", 0, 0};
    const SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    const SC_HANDLE service = OpenServiceA(manager, "ryx", SERVICE_QUERY_CONFIG);
    std::vector<BYTE> buffer(8192);
    DWORD needed = 0;
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
    if (service != nullptr && QueryServiceConfigA(service, config, 8192, &needed)) {
        setup = {config->lpBinaryPathName, config->dwServiceType, config->dwStartType};
    }
    if (service != nullptr) {
        CloseServiceHandle(service);
    }
    if (manager != nullptr) {
        CloseServiceHandle(manager);
    }
    return setup;
}

std::vector<std::string> log_lines(const DemoInstallation& demo) {
    std::vector<std::string> lines;
    std::istringstream in(read_bytes(demo.file("ryxc.log")));
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

} // namespace

TEST(DemoClient, InstallSetsUpTheClientAndUninstallRemovesAllButItsDirectory) {
    const DemoInstallation demo;
    ASSERT_TRUE(demo.install());

    EXPECT_EQ(demo.dir(), registry_install_dir());
    EXPECT_TRUE(file_exists(demo.file("ryxc-demo.exe")));
    const ServiceSetup setup = service_setup();
    EXPECT_EQ("\"" + demo.file("ryxc-demo.exe") + "\"", setup.binary_path);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_WIN32_OWN_PROCESS), setup.type);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_DEMAND_START), setup.start_type);

    // Both files in the front-end's own layout, naming the install directory.
    const std::string defaults_text = read_bytes(demo.file("ryxc.conf.default"));
    EXPECT_NE(std::string::npos, defaults_text.find("ryx_dir=" + demo.dir() + "\r\n"));
    ConfigRecord defaults;
    ASSERT_TRUE(read_config_file(demo.file("ryxc.conf.default").c_str(), defaults));
    EXPECT_EQ(nullptr, defaults.get_server());
    EXPECT_TRUE(defaults.get_keepalive());
    EXPECT_EQ(30, defaults.get_keepalive_interval());
    ConfigRecord settings;
    ASSERT_TRUE(read_config_file(demo.file("ryxc.conf").c_str(), settings));
    ASSERT_NE(nullptr, settings.get_server());
    EXPECT_STREQ("tunnel.example.net", settings.get_server());

    // Installing again keeps the user's settings.
    write_bytes(demo.file("ryxc.conf"), "server=mine.example.org\n");
    ASSERT_TRUE(demo.install());
    EXPECT_EQ("server=mine.example.org\n", read_bytes(demo.file("ryxc.conf")));
    EXPECT_TRUE(service_exists("ryx"));

    ASSERT_TRUE(demo.uninstall());
    EXPECT_FALSE(service_exists("ryx"));
    EXPECT_FALSE(registry_key_exists());
    EXPECT_TRUE(file_exists(demo.file("ryxc.conf")));
    EXPECT_TRUE(file_exists(demo.file("ryxc-demo.exe")));
    EXPECT_TRUE(demo.uninstall()); // nothing left to remove is no failure
}

TEST(DemoClient, RefusesUnknownCommandsAndRunsOnlyUnderTheServiceManager) {
    EXPECT_EQ(2u, run_demo_client("bogus"));
    EXPECT_EQ(2u, run_demo_client("install"));
    EXPECT_EQ(1u, run_demo_client(""));
}

TEST(DemoClient, UninstallStopsARunningService) {
    const DemoInstallation demo;
    ASSERT_TRUE(demo.install());
    ServiceControl service("ryx");
    ASSERT_TRUE(service.start());
    ASSERT_EQ(static_cast<DWORD>(SERVICE_RUNNING),
              wait_for_state(service, SERVICE_RUNNING, state_timeout_ms));
    ASSERT_TRUE(demo.uninstall());
    // A running service is only marked for removal: gone means it was stopped first.
    EXPECT_EQ(0u, service.query_state());
    EXPECT_FALSE(service_exists("ryx"));
    EXPECT_NE(std::string::npos,
              read_bytes(demo.file("ryxc.log")).find("tunnel: Tunnel client stopped"));
    EXPECT_FALSE(service.reopen());
}

TEST(DemoClient, WithoutServerLogsWhyAndTheQuitLineAndStopsItself) {
    const DemoInstallation demo;
    ASSERT_TRUE(demo.install());
    write_bytes(demo.file("ryxc.conf"), "# no server\nkeepalive=yes\nkeepalive_interval=1\n");
    ServiceControl service("ryx");
    ASSERT_TRUE(service.start());
    std::set<DWORD> seen;
    ASSERT_EQ(static_cast<DWORD>(SERVICE_STOPPED),
              wait_for_state(service, SERVICE_STOPPED, state_timeout_ms, &seen));
    EXPECT_EQ(1u, seen.count(SERVICE_STOP_PENDING));
    EXPECT_EQ(0u, seen.count(SERVICE_RUNNING));

    const std::vector<std::string> lines = log_lines(demo);
    const std::regex layout(R"(\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2} tunnel: [^\r\n]+\r)");
    for (const std::string& line : lines) {
        EXPECT_TRUE(std::regex_match(line, layout)) << line;
    }
    std::vector<std::string> messages;
    for (const std::string& line : lines) {
        messages.push_back(line.substr(line.find("tunnel: ") + 8));
    }
    const std::vector<std::string> expected = {
        "Starting tunnel client\r",
        "No server configured in " + demo.file("ryxc.conf") + "\r",
        "Signaling service to stop because client quitted\r",
        "Stopping tunnel client\r",
        "Tunnel client stopped\r",
    };
    EXPECT_EQ(expected, messages);
}

TEST(DemoClient, ImportsNoNetworkLibrary) {
    std::string program = read_bytes(executable_directory() + "\\ryxc-demo.exe");
    ASSERT_FALSE(program.empty());
    std::transform(program.begin(), program.end(), program.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* library :
         {"ws2_32", "wsock32", "mswsock", "wininet", "winhttp", "dnsapi", "iphlpapi", "urlmon"}) {
        EXPECT_EQ(std::string::npos, program.find(library)) << library;
    }
}
