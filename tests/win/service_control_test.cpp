// ServiceControl through the table of manager calls, against a stand-in manager where Wine, run
// as administrator, cannot answer as a manager may: one row per decision, not per error code.
// The real manager, with the stand-in service, is met through the program's status line end to
// end, which also sees a handle that would keep a removed service alive.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "service/service_control.h"

namespace {

// Like a real manager it opens a service only through an open manager, and closes only open
// handles.
struct FakeManager {
    DWORD full_access_error = 0, read_access_error = 0, service_error = 0; // 0: success
    DWORD service_access = 0;                                              // the last look-up's
    std::set<SC_HANDLE> open;
} fake;

SC_HANDLE answer(DWORD error) {
    if (error != 0) {
        SetLastError(error);
        return nullptr;
    }
    static std::uintptr_t next_handle = 0x1000;
    const auto handle = reinterpret_cast<SC_HANDLE>(next_handle += 8);
    fake.open.insert(handle);
    SetLastError(ERROR_INVALID_HANDLE); // a real manager need not clear it on success
    return handle;
}

SC_HANDLE WINAPI open_manager(LPCSTR, LPCSTR, DWORD access) {
    return answer(access == SC_MANAGER_ALL_ACCESS ? fake.full_access_error
                                                  : fake.read_access_error);
}
SC_HANDLE WINAPI open_service(SC_HANDLE manager, LPCSTR, DWORD access) {
    fake.service_access = access;
    return answer(fake.open.count(manager) ? fake.service_error : ERROR_INVALID_HANDLE);
}
BOOL WINAPI close_handle(SC_HANDLE handle) {
    EXPECT_EQ(1u, fake.open.erase(handle)) << "closing a handle that is not open";
    return TRUE;
}

// Finding the service never queries, starts or stops it.
const ServiceManagerCalls fake_calls = {open_manager, open_service, nullptr,
                                        nullptr,      nullptr,      close_handle};

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
        fake = FakeManager{row.full_access_error, row.read_access_error, row.service_error, 0, {}};
        {
            ServiceControl service("ryx", fake_calls);
            EXPECT_EQ(row.available, service.is_available());
            EXPECT_EQ(row.granted, fake.service_access);
            // Found again once the manager answers; a reopen keeps one manager handle only.
            fake.full_access_error = fake.read_access_error = fake.service_error = 0;
            EXPECT_TRUE(service.reopen());
            EXPECT_TRUE(service.reopen());
            EXPECT_EQ(1u, fake.open.size());
        }
        EXPECT_TRUE(fake.open.empty());
    }
}
