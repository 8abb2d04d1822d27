// The branches of ServiceControl's open sequence that Wine, running as administrator, cannot
// produce: a fake manager answers through the table of manager calls.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "service/service_control.h"

namespace {

// What the fake manager answers and what it was asked. Like a real one, it opens a service
// only through an open manager and by its name, and serves and closes only open handles.
struct Errors {
    DWORD full_access, read_access, service; // of each open; 0: success
};
struct FakeManager {
    Errors errors = {0, 0, 0};
    BOOL result = TRUE; // of query, start and stop
    DWORD reported_state = SERVICE_RUNNING;
    std::vector<DWORD> manager_requests, service_requests;
    std::set<SC_HANDLE> managers, services; // open now
    std::uintptr_t next_handle = 0x1000;
} fake;

SC_HANDLE issue(std::set<SC_HANDLE>& open) {
    const auto handle = reinterpret_cast<SC_HANDLE>(fake.next_handle += 8);
    open.insert(handle);
    SetLastError(ERROR_INVALID_HANDLE); // a real manager need not clear it on success
    return handle;
}

SC_HANDLE fail(DWORD error) {
    SetLastError(error);
    return nullptr;
}

SC_HANDLE WINAPI open_manager(LPCSTR, LPCSTR, DWORD access) {
    fake.manager_requests.push_back(access);
    const DWORD error =
        access == SC_MANAGER_ALL_ACCESS ? fake.errors.full_access : fake.errors.read_access;
    return error != 0 ? fail(error) : issue(fake.managers);
}

SC_HANDLE WINAPI open_service(SC_HANDLE manager, LPCSTR name, DWORD access) {
    fake.service_requests.push_back(access);
    if (fake.managers.count(manager) == 0)
        return fail(ERROR_INVALID_HANDLE);
    if (std::strcmp(name, "ryx") != 0)
        return fail(ERROR_SERVICE_DOES_NOT_EXIST);
    return fake.errors.service != 0 ? fail(fake.errors.service) : issue(fake.services);
}

BOOL WINAPI query_status(SC_HANDLE service, LPSERVICE_STATUS status) {
    status->dwCurrentState = fake.reported_state;
    return fake.result && fake.services.count(service);
}

BOOL WINAPI start_service(SC_HANDLE service, DWORD count, LPCSTR*) {
    return fake.result && fake.services.count(service) && count == 0;
}

BOOL WINAPI control_service(SC_HANDLE service, DWORD control, LPSERVICE_STATUS status) {
    return fake.result && fake.services.count(service) && control == SERVICE_CONTROL_STOP &&
           status != nullptr;
}

BOOL WINAPI close_handle(SC_HANDLE handle) {
    if (fake.managers.erase(handle) + fake.services.erase(handle) == 0)
        ADD_FAILURE() << "closing a handle that is not open";
    return TRUE;
}

const ServiceManagerCalls fake_calls = {open_manager,  open_service,    query_status,
                                        start_service, control_service, close_handle};

constexpr DWORD all = SC_MANAGER_ALL_ACCESS, rd = GENERIC_READ; // the accesses asked
constexpr DWORD denied = ERROR_ACCESS_DENIED, no_memory = ERROR_NOT_ENOUGH_MEMORY,
                missing = ERROR_SERVICE_DOES_NOT_EXIST, bad_name = ERROR_INVALID_NAME,
                bad_handle = ERROR_INVALID_HANDLE, timeout = ERROR_SERVICE_REQUEST_TIMEOUT,
                not_found = ERROR_FILE_NOT_FOUND;

} // namespace

TEST(ServiceControlSeam, OpenSequenceFollowsTheManagersAnswers) {
    // clang-format off
    const struct {
        Errors errors;
        bool available;
        DWORD granted; // 0: the service is not looked for
        std::vector<DWORD> manager_requests;
    } cases[] = {
        {{0,          0,         0},          true,  all, {all}},
        {{denied,     0,         0},          true,  rd,  {all, rd}},
        {{denied,     denied,    0},          false, 0,   {all, rd}},
        {{denied,     no_memory, 0},          true,  0,   {all, rd}},
        {{no_memory,  0,         0},          true,  0,   {all}},
        {{bad_handle, 0,         0},          false, 0,   {all}},
        {{0,          0,         missing},    false, all, {all}},
        {{0,          0,         bad_name},   false, all, {all}},
        {{0,          0,         denied},     false, all, {all}},
        {{0,          0,         bad_handle}, false, all, {all}},
        {{0,          0,         timeout},    true,  all, {all}},
        {{0,          0,         not_found},  true,  all, {all}},
        {{denied,     0,         missing},    false, rd,  {all, rd}},
    };
    // clang-format on
    for (const auto& row : cases) {
        SCOPED_TRACE(&row - cases);
        fake = FakeManager();
        fake.errors = row.errors;
        const ServiceControl service("ryx", fake_calls);
        EXPECT_EQ(row.available, service.is_available());
        EXPECT_EQ(row.granted, service.granted_access());
        EXPECT_EQ(row.manager_requests, fake.manager_requests);
        EXPECT_EQ(row.granted ? std::vector<DWORD>{row.granted} : std::vector<DWORD>{},
                  fake.service_requests);
    }
}

// On reopen only the four errors clear the flag; a granted access outlives failed opens.
TEST(ServiceControlSeam, ReopenFollowsTheSecondAnswers) {
    // clang-format off
    const struct {
        Errors first, then;
        bool available;
        DWORD granted;
    } cases[] = {
        {{0,      0, missing}, {0,         0,      timeout},    false, all},
        {{0,      0, missing}, {0,         0,      not_found},  false, all},
        {{0,      0, missing}, {0,         0,      0},          true,  all},
        {{0,      0, timeout}, {0,         0,      not_found},  true,  all},
        {{0,      0, 0},       {0,         0,      missing},    false, all},
        {{0,      0, 0},       {0,         0,      bad_name},   false, all},
        {{0,      0, 0},       {0,         0,      denied},     false, all},
        {{0,      0, 0},       {0,         0,      bad_handle}, false, all},
        {{denied, 0, 0},       {denied,    denied, 0},          false, rd},
        {{0,      0, 0},       {no_memory, 0,      0},          false, all},
    };
    // clang-format on
    for (const auto& row : cases) {
        SCOPED_TRACE(&row - cases);
        fake = FakeManager();
        fake.errors = row.first;
        ServiceControl service("ryx", fake_calls);
        fake.errors = row.then;
        EXPECT_EQ(row.available, service.reopen());
        EXPECT_EQ(row.available, service.is_available());
        EXPECT_EQ(row.granted, service.granted_access());
    }
}

// Only the manager stays open between operations: a reopen closes the one it replaces.
TEST(ServiceControlSeam, ReopenLeaksNoManagerHandle) {
    fake = FakeManager();
    {
        ServiceControl service("ryx", fake_calls);
        for (int attempt = 0; attempt < 3; ++attempt)
            ASSERT_TRUE(service.reopen());
        EXPECT_EQ(1u, fake.managers.size());
    }
    EXPECT_TRUE(fake.managers.empty());
}

TEST(ServiceControlSeam, QueryStartAndStopPassTheManagersAnswersThrough) {
    // No mapping: the manager's state comes back as it is; any failure reads as 0 and false.
    // clang-format off
    const struct { DWORD service_error; BOOL result; DWORD reported, state; bool done; } cases[] = {
        {0, TRUE, SERVICE_STOPPED, 1, true}, {0, TRUE, SERVICE_PAUSED, 7, true},
        {0, TRUE, 8, 8, true}, {0, FALSE, SERVICE_RUNNING, 0, false},
        {missing, TRUE, SERVICE_RUNNING, 0, false}, // the service removed since
    };
    // clang-format on
    for (const auto& row : cases) {
        SCOPED_TRACE(&row - cases);
        fake = FakeManager();
        ServiceControl service("ryx", fake_calls);
        fake.errors.service = row.service_error;
        fake.result = row.result;
        fake.reported_state = row.reported;
        EXPECT_EQ(row.state, service.query_state());
        EXPECT_EQ(row.done, service.start());
        EXPECT_EQ(row.done, service.stop());
        EXPECT_TRUE(fake.services.empty()); // each operation closes what it opened
    }
}
