// What ServiceControl decides from the manager's answers where Wine, run as administrator,
// cannot answer so: a stand-in manager answers through the table of manager calls. One row per
// decision, not per error code.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include "service/service_control.h"

namespace {

// Like a real manager it opens a service only through an open manager, and serves and closes
// only open handles.
struct FakeManager {
    DWORD full_access_error = 0, read_access_error = 0, service_error = 0; // 0: success
    BOOL result = TRUE; // of query, start and stop
    std::vector<DWORD> service_requests;
    std::set<SC_HANDLE> open;
    std::uintptr_t next_handle = 0x1000;
} fake;

SC_HANDLE answer(DWORD error) {
    if (error != 0) {
        SetLastError(error);
        return nullptr;
    }
    const auto handle = reinterpret_cast<SC_HANDLE>(fake.next_handle += 8);
    fake.open.insert(handle);
    SetLastError(ERROR_INVALID_HANDLE); // a real manager need not clear it on success
    return handle;
}

SC_HANDLE WINAPI open_manager(LPCSTR, LPCSTR, DWORD access) {
    return answer(access == SC_MANAGER_ALL_ACCESS ? fake.full_access_error
                                                  : fake.read_access_error);
}
SC_HANDLE WINAPI open_service(SC_HANDLE manager, LPCSTR, DWORD access) {
    fake.service_requests.push_back(access);
    return answer(fake.open.count(manager) ? fake.service_error : ERROR_INVALID_HANDLE);
}
BOOL WINAPI query_status(SC_HANDLE service, LPSERVICE_STATUS status) {
    status->dwCurrentState = SERVICE_PAUSED;
    return fake.result && fake.open.count(service);
}
BOOL WINAPI start_service(SC_HANDLE service, DWORD, LPCSTR*) {
    SetLastError(ERROR_SERVICE_DISABLED);
    return fake.result && fake.open.count(service);
}
BOOL WINAPI control_service(SC_HANDLE service, DWORD control, LPSERVICE_STATUS) {
    SetLastError(ERROR_SERVICE_NOT_ACTIVE);
    return fake.result && fake.open.count(service) && control == SERVICE_CONTROL_STOP;
}
BOOL WINAPI close_handle(SC_HANDLE handle) {
    EXPECT_EQ(1u, fake.open.erase(handle)) << "closing a handle that is not open";
    return TRUE;
}

const ServiceManagerCalls fake_calls = {open_manager,  open_service,    query_status,
                                        start_service, control_service, close_handle};

constexpr DWORD all = SC_MANAGER_ALL_ACCESS, read_only = GENERIC_READ;
constexpr DWORD denied = ERROR_ACCESS_DENIED, missing = ERROR_SERVICE_DOES_NOT_EXIST,
                timeout = ERROR_SERVICE_REQUEST_TIMEOUT;

} // namespace

TEST(ServiceControlSeam, EachAnswerOfTheManagerLeadsToItsDecision) {
    // clang-format off
    const struct {
        const char* decision;
        DWORD full_access_error, read_access_error, service_error;
        bool available;
        DWORD granted; // also the access the service is looked for with; 0: not looked for
    } cases[] = {
        {"full access",                       0,       0,      0,       true,  all},
        {"the read-only fall-back",           denied,  0,      0,       true,  read_only},
        {"no manager at all",                 denied,  denied, 0,       false, 0},
        {"the service missing",               0,       0,      missing, false, all},
        {"an error that leaves it available", 0,       0,      timeout, true,  all},
    };
    // clang-format on
    for (const auto& row : cases) {
        SCOPED_TRACE(row.decision);
        fake = FakeManager();
        fake.full_access_error = row.full_access_error;
        fake.read_access_error = row.read_access_error;
        fake.service_error = row.service_error;
        {
            ServiceControl service("ryx", fake_calls);
            EXPECT_EQ(row.available, service.is_available());
            EXPECT_EQ(row.granted, service.granted_access());
            EXPECT_EQ(row.granted ? std::vector<DWORD>{row.granted} : std::vector<DWORD>{},
                      fake.service_requests);
            // Found again once the manager answers; a reopen keeps one manager handle only.
            fake.full_access_error = fake.read_access_error = fake.service_error = 0;
            EXPECT_TRUE(service.reopen());
            EXPECT_TRUE(service.reopen());
            EXPECT_EQ(1u, fake.open.size());
        }
        EXPECT_TRUE(fake.open.empty());
    }
}

TEST(ServiceControlSeam, OperationsPassTheManagersAnswerAndErrorThrough) {
    fake = FakeManager();
    ServiceControl service("ryx", fake_calls);
    // The manager's state comes back unmapped; each operation closes what it opened.
    EXPECT_EQ(static_cast<DWORD>(SERVICE_PAUSED), service.query_state());
    EXPECT_TRUE(service.start());
    EXPECT_TRUE(service.stop());
    EXPECT_EQ(1u, fake.open.size());
    fake.result = FALSE;
    EXPECT_EQ(0u, service.query_state());
    EXPECT_FALSE(service.start());
    EXPECT_EQ(static_cast<DWORD>(ERROR_SERVICE_DISABLED), service.last_error());
    EXPECT_FALSE(service.stop());
    EXPECT_EQ(static_cast<DWORD>(ERROR_SERVICE_NOT_ACTIVE), service.last_error());
    // Removed since it was opened: nothing to query, start or stop.
    fake.result = TRUE;
    fake.service_error = missing;
    EXPECT_EQ(0u, service.query_state());
    EXPECT_FALSE(service.start());
    EXPECT_EQ(1u, fake.open.size());
}
