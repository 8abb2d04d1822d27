// ServiceControl through the table of manager calls, against a stand-in manager where Wine, run
// as administrator, cannot answer as a manager may: one row per decision, not per error code,
// each with the rights its operation asks for. The real manager, with the stand-in service, is
// met through the program's status line and its action arguments end to end, which also see a
// handle that would keep a removed service alive.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "service/service_control.h"

namespace {

// Like a real manager it opens a service only through an open manager, and closes only open
// handles. Every call after the look-up gives the same answer.
struct FakeManager {
    DWORD manager_error = 0, service_error = 0, call_error = 0; // 0: success
    DWORD manager_access = 0, service_access = 0;               // the last ones asked for
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

BOOL succeed_unless(SC_HANDLE handle, DWORD error) {
    EXPECT_EQ(1u, fake.open.count(handle));
    SetLastError(error);
    return error == 0;
}

const ServiceManagerCalls fake_calls = {
    [](LPCSTR, LPCSTR, DWORD access) {
        fake.manager_access = access;
        return answer(fake.manager_error);
    },
    [](SC_HANDLE manager, LPCSTR, DWORD access) {
        fake.service_access = access;
        return answer(fake.open.count(manager) ? fake.service_error : ERROR_INVALID_HANDLE);
    },
    [](SC_HANDLE service, LPSERVICE_STATUS status) {
        status->dwCurrentState = SERVICE_RUNNING;
        return succeed_unless(service, fake.call_error);
    },
    [](SC_HANDLE service, DWORD, LPCSTR*) { return succeed_unless(service, fake.call_error); },
    [](SC_HANDLE service, DWORD control, LPSERVICE_STATUS) {
        return succeed_unless(service, control == SERVICE_CONTROL_STOP ? fake.call_error : ~0ul);
    },
    [](SC_HANDLE handle) -> BOOL {
        EXPECT_EQ(1u, fake.open.erase(handle)) << "closing a handle that is not open";
        SetLastError(ERROR_SUCCESS); // so that a reason read after the close is seen to be lost
        return TRUE;
    },
};

// A command's error, 0 after success and only then (~0 otherwise).
DWORD error_of(ServiceControl& service, bool (ServiceControl::*command)()) {
    const bool done = (service.*command)();
    return done == (service.last_error() == ERROR_SUCCESS) ? service.last_error() : ~0u;
}

// What an operation gave: found (1/0), the state, the last error of a command, needs
// elevation (1/0).
using Op = DWORD (*)(ServiceControl&);
const Op look_up = [](ServiceControl& s) -> DWORD { return s.is_available(); };
const Op query_state = [](ServiceControl& s) -> DWORD { return s.query_state(); };
const Op start_it = [](ServiceControl& s) { return error_of(s, &ServiceControl::start); };
const Op stop_it = [](ServiceControl& s) { return error_of(s, &ServiceControl::stop); };
const Op start_needs = [](ServiceControl& s) -> DWORD { return s.start_needs_elevation(); };
const Op stop_needs = [](ServiceControl& s) -> DWORD { return s.stop_needs_elevation(); };

constexpr DWORD query = SERVICE_QUERY_STATUS, start = SERVICE_START | SERVICE_QUERY_STATUS,
                stop = SERVICE_STOP | SERVICE_QUERY_STATUS;
constexpr DWORD denied = ERROR_ACCESS_DENIED, missing = ERROR_SERVICE_DOES_NOT_EXIST,
                timeout = ERROR_SERVICE_REQUEST_TIMEOUT, running = ERROR_SERVICE_ALREADY_RUNNING,
                not_active = ERROR_SERVICE_NOT_ACTIVE;

} // namespace

TEST(ServiceControlSeam, EachAnswerOfTheManagerLeadsToItsDecision) {
    // clang-format off
    const struct {
        const char* decision;
        Op op;
        DWORD manager_error, service_error, call_error;
        DWORD result;
        DWORD access; // what the operation asked of the service; 0: it was not opened
    } cases[] = {
        {"found, with query rights only",         look_up, 0,      0,       0,       1, query},
        {"the service missing",                   look_up, 0,      missing, 0,       0, query},
        {"another error leaves it found",         look_up, 0,      timeout, 0,       1, query},
        {"the state read",                        query_state,   0,      0,       0,       SERVICE_RUNNING, query},
        {"no state known",                        query_state,   0,      0,       timeout, 0, query},
        {"started",                               start_it,   0,      0,       0,       0, start},
        {"start failed once opened",              start_it,   0,      0,       running, running, start},
        {"no connection: its reason",             start_it,   denied, 0,       0,       denied, 0},
        {"stopped",                               stop_it,    0,      0,       0,       0, stop},
        {"stop failed once opened",               stop_it,    0,      0,       not_active, not_active, stop},
        {"start refused: elevation needed",       start_needs, 0, denied,  0, 1, start},
        {"another error: no matter of rights",    stop_needs,  0, missing, 0, 0, stop},
        {"no connection for want of rights",      stop_needs,  denied, 0,  0, 1, 0},
    };
    // clang-format on
    for (const auto& row : cases) {
        SCOPED_TRACE(row.decision);
        fake = FakeManager{row.manager_error, row.service_error, row.call_error, 0, 0, {}};
        {
            ServiceControl service("ryx", fake_calls);
            EXPECT_EQ(row.result, row.op(service));
            EXPECT_EQ(row.access, fake.service_access);
            EXPECT_EQ(static_cast<DWORD>(SC_MANAGER_CONNECT), fake.manager_access);
            // No operation keeps the service open; found again once the manager answers, and
            // a reopen keeps one manager handle only.
            fake.manager_error = fake.service_error = fake.call_error = 0;
            EXPECT_TRUE(service.reopen());
            EXPECT_TRUE(service.reopen());
            EXPECT_EQ(1u, fake.open.size());
        }
        EXPECT_TRUE(fake.open.empty());
    }
}
