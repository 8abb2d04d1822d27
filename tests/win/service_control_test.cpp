// ServiceControl against the real service manager and the stand-in service "ryx".
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "e2e/program_driver.h"
#include "service/service_control.h"
#include "support/temp_dir.h"
#include "win/demo_installation.h"

namespace {

constexpr DWORD state_timeout_ms = 20000;

bool log_has(const DemoInstallation& demo, const char* text) {
    return read_bytes(demo.file("ryxc.log")).find(text) != std::string::npos;
}

// Polls the log until it holds the text.
bool wait_for_log(const DemoInstallation& demo, const char* text) {
    return wait_until([&] { return log_has(demo, text); }, state_timeout_ms, 50);
}

} // namespace

TEST(ServiceControlWithManager, MissingServiceIsFoundOnceInstalledAndLostOnceRemoved) {
    const DemoInstallation demo;
    ServiceControl service("ryx");
    EXPECT_FALSE(service.is_available());
    EXPECT_EQ(0u, service.query_state());
    EXPECT_FALSE(service.start());
    EXPECT_FALSE(service.stop());
    EXPECT_FALSE(service.reopen());
    // Wine runs as administrator: the manager grants full access.
    EXPECT_EQ(static_cast<DWORD>(SC_MANAGER_ALL_ACCESS), service.granted_access());

    // Installed, the stand-in client names its directory where the program looks for it.
    ASSERT_TRUE(demo.install());
    char named[MAX_PATH] = {};
    DWORD size = sizeof named;
    RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quorix\\RYX Client", "installdir", RRF_RT_REG_SZ,
                 nullptr, named, &size);
    EXPECT_EQ(demo.dir(), named);
    EXPECT_TRUE(service.reopen());
    EXPECT_TRUE(service.is_available());
    EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), service.query_state());

    // The manager removes a deleted service only once every handle to it is closed: a
    // connection that kept the service open would still find it, and block reinstalling it.
    ServiceControl watcher("ryx");
    ASSERT_TRUE(watcher.is_available());
    ASSERT_TRUE(demo.uninstall());
    EXPECT_EQ(0u, watcher.query_state());
    EXPECT_FALSE(service.reopen());
    EXPECT_EQ(0u, service.query_state());
    ASSERT_TRUE(demo.install());
    EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), watcher.query_state());
}

TEST(ServiceControlWithManager, StartsAndStopsTheServiceThroughEveryState) {
    const DemoInstallation demo;
    ASSERT_TRUE(demo.install());
    // The client's keepalive every second shows that it runs between start and stop.
    write_bytes(demo.file("ryxc.conf"), "server=tunnel.example.net\nkeepalive=yes\n"
                                        "keepalive_interval=1\n");
    ServiceControl service("ryx");
    ServiceControl monitor("ryx"); // the program keeps a second connection for polling
    ASSERT_TRUE(service.is_available());
    ASSERT_TRUE(monitor.is_available());
    EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), monitor.query_state());
    EXPECT_FALSE(service.stop()); // stopping a stopped service

    ASSERT_TRUE(service.start());
    std::set<DWORD> starting;
    ASSERT_EQ(static_cast<DWORD>(SERVICE_RUNNING),
              wait_for_state(monitor, SERVICE_RUNNING, state_timeout_ms, &starting));
    EXPECT_EQ((std::set<DWORD>{SERVICE_START_PENDING, SERVICE_RUNNING}), starting);
    EXPECT_FALSE(service.start()); // starting a running service
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), service.query_state());
    EXPECT_TRUE(wait_for_log(demo, "Keepalive sent to tunnel.example.net"));

    ASSERT_TRUE(service.stop());
    std::set<DWORD> stopping;
    ASSERT_EQ(static_cast<DWORD>(SERVICE_STOPPED),
              wait_for_state(monitor, SERVICE_STOPPED, state_timeout_ms, &stopping));
    // The stop control may be answered before the service reports its pending state.
    stopping.erase(SERVICE_RUNNING);
    EXPECT_EQ((std::set<DWORD>{SERVICE_STOP_PENDING, SERVICE_STOPPED}), stopping);
    EXPECT_FALSE(service.stop());

    for (const char* line :
         {"tunnel: Starting tunnel client\r\n",
          "tunnel: Connecting to tunnel.example.net (simulated)\r\n", "tunnel: Tunnel established",
          "tunnel: Stopping tunnel client\r\n", "tunnel: Tunnel client stopped\r\n"}) {
        EXPECT_TRUE(log_has(demo, line)) << line;
    }
    EXPECT_FALSE(log_has(demo, "client quitted"));
}
