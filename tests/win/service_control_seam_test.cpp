// The branches of ServiceControl's open sequence that Wine, running as administrator, cannot
// produce: a fake manager answers through the table of manager calls.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "service/service_control.h"

namespace {

// What the fake manager answers (0: success) and what it was asked.
struct FakeManager {
    DWORD full_access_error = 0;
    DWORD read_access_error = 0;
    DWORD service_error = 0;
    BOOL query_result = TRUE;
    DWORD reported_state = SERVICE_RUNNING;

    std::vector<DWORD> manager_requests;
    std::vector<SC_HANDLE> managers_issued;
    std::vector<SC_HANDLE> service_open_managers;
    std::vector<SC_HANDLE> services_issued;
    std::vector<DWORD> service_requests;
    std::string service_name;
    std::set<SC_HANDLE> open_handles;
    int closes = 0;
    int bad_closes = 0;
    std::uintptr_t next_handle = 0x1000;
    SC_HANDLE started = nullptr;
    DWORD start_argument_count = 99;
    const char** start_arguments = nullptr;
    DWORD control = 0;
    SERVICE_STATUS* control_status = nullptr;
};

FakeManager fake;

// A real manager need not clear the last error on success: leave a misleading one.
constexpr DWORD stale_error = ERROR_INVALID_HANDLE;

SC_HANDLE issue_handle() {
    fake.next_handle += 8;
    const auto handle = reinterpret_cast<SC_HANDLE>(fake.next_handle);
    fake.open_handles.insert(handle);
    SetLastError(stale_error);
    return handle;
}

SC_HANDLE WINAPI open_manager(LPCSTR, LPCSTR, DWORD access) {
    fake.manager_requests.push_back(access);
    const DWORD error =
        access == SC_MANAGER_ALL_ACCESS ? fake.full_access_error : fake.read_access_error;
    if (error != 0) {
        SetLastError(error);
        return nullptr;
    }
    fake.managers_issued.push_back(issue_handle());
    return fake.managers_issued.back();
}

SC_HANDLE WINAPI open_service(SC_HANDLE manager, LPCSTR name, DWORD access) {
    fake.service_open_managers.push_back(manager);
    fake.service_requests.push_back(access);
    fake.service_name = name;
    if (manager == nullptr || fake.open_handles.count(manager) == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (fake.service_error != 0) {
        SetLastError(fake.service_error);
        return nullptr;
    }
    fake.services_issued.push_back(issue_handle());
    return fake.services_issued.back();
}

BOOL WINAPI query_status(SC_HANDLE, LPSERVICE_STATUS status) {
    status->dwCurrentState = fake.reported_state;
    return fake.query_result;
}

BOOL WINAPI start_service(SC_HANDLE service, DWORD count, LPCSTR* arguments) {
    fake.started = service;
    fake.start_argument_count = count;
    fake.start_arguments = arguments;
    return TRUE;
}

BOOL WINAPI control_service(SC_HANDLE, DWORD control, LPSERVICE_STATUS status) {
    fake.control = control;
    fake.control_status = status;
    return TRUE;
}

BOOL WINAPI close_handle(SC_HANDLE handle) {
    ++fake.closes;
    if (fake.open_handles.erase(handle) == 0) {
        ++fake.bad_closes;
    }
    return TRUE;
}

const ServiceManagerCalls fake_calls = {open_manager,  open_service,    query_status,
                                        start_service, control_service, close_handle};

constexpr DWORD all_access = SC_MANAGER_ALL_ACCESS;
constexpr DWORD read_access = GENERIC_READ;
constexpr DWORD not_asked = 0;

class ServiceControlSeam : public testing::Test {
protected:
    void SetUp() override { fake = FakeManager(); }
};

struct OpenCase {
    const char* what;
    DWORD full_access_error;
    DWORD read_access_error;
    DWORD service_error;
    bool available;
    DWORD granted;
    std::vector<DWORD> manager_requests;
    DWORD service_request; // not_asked: no service open
};

const OpenCase open_cases[] = {
    {"full access", 0, 0, 0, true, all_access, {all_access}, all_access},
    {"full refused, read granted",
     ERROR_ACCESS_DENIED,
     0,
     0,
     true,
     read_access,
     {all_access, read_access},
     read_access},
    {"full and read refused",
     ERROR_ACCESS_DENIED,
     ERROR_ACCESS_DENIED,
     0,
     false,
     0,
     {all_access, read_access},
     not_asked},
    {"read open fails otherwise",
     ERROR_ACCESS_DENIED,
     ERROR_NOT_ENOUGH_MEMORY,
     0,
     true,
     0,
     {all_access, read_access},
     not_asked},
    {"other manager error: no second try",
     ERROR_NOT_ENOUGH_MEMORY,
     0,
     0,
     true,
     0,
     {all_access},
     not_asked},
    {"manager invalid handle", ERROR_INVALID_HANDLE, 0, 0, false, 0, {all_access}, not_asked},
    {"service missing",
     0,
     0,
     ERROR_SERVICE_DOES_NOT_EXIST,
     false,
     all_access,
     {all_access},
     all_access},
    {"invalid name", 0, 0, ERROR_INVALID_NAME, false, all_access, {all_access}, all_access},
    {"service access denied",
     0,
     0,
     ERROR_ACCESS_DENIED,
     false,
     all_access,
     {all_access},
     all_access},
    {"service invalid handle",
     0,
     0,
     ERROR_INVALID_HANDLE,
     false,
     all_access,
     {all_access},
     all_access},
    {"service did not answer",
     0,
     0,
     ERROR_SERVICE_REQUEST_TIMEOUT,
     true,
     all_access,
     {all_access},
     all_access},
    {"file not found", 0, 0, ERROR_FILE_NOT_FOUND, true, all_access, {all_access}, all_access},
    {"read access, service missing",
     ERROR_ACCESS_DENIED,
     0,
     ERROR_SERVICE_DOES_NOT_EXIST,
     false,
     read_access,
     {all_access, read_access},
     read_access},
};

} // namespace

TEST_F(ServiceControlSeam, OpenSequenceFollowsTheManagersAnswers) {
    for (const OpenCase& row : open_cases) {
        SCOPED_TRACE(row.what);
        fake = FakeManager();
        fake.full_access_error = row.full_access_error;
        fake.read_access_error = row.read_access_error;
        fake.service_error = row.service_error;

        const ServiceControl service("ryx", fake_calls);
        EXPECT_EQ(row.available, service.is_available());
        EXPECT_EQ(row.granted, service.granted_access());
        EXPECT_EQ(row.manager_requests, fake.manager_requests);
        if (row.service_request == not_asked) {
            EXPECT_TRUE(fake.service_requests.empty());
        } else {
            ASSERT_EQ(1u, fake.service_requests.size());
            EXPECT_EQ(row.service_request, fake.service_requests[0]);
            // The service is looked for through the manager just opened, by its name.
            ASSERT_EQ(1u, fake.managers_issued.size());
            EXPECT_EQ(fake.managers_issued[0], fake.service_open_managers[0]);
            EXPECT_EQ("ryx", fake.service_name);
        }
    }
}

TEST_F(ServiceControlSeam, OnlyTheFourErrorsChangeTheFlagOnReopen) {
    struct FlagCase {
        DWORD first_error;
        DWORD second_error;
        bool available;
    };
    const FlagCase cases[] = {
        {ERROR_SERVICE_DOES_NOT_EXIST, ERROR_SERVICE_REQUEST_TIMEOUT, false},
        {ERROR_SERVICE_DOES_NOT_EXIST, ERROR_FILE_NOT_FOUND, false},
        {ERROR_SERVICE_DOES_NOT_EXIST, 0, true},
        {ERROR_SERVICE_REQUEST_TIMEOUT, ERROR_FILE_NOT_FOUND, true},
        {0, ERROR_SERVICE_DOES_NOT_EXIST, false},
        {0, ERROR_INVALID_NAME, false},
        {0, ERROR_ACCESS_DENIED, false},
        {0, ERROR_INVALID_HANDLE, false},
    };
    for (const FlagCase& row : cases) {
        SCOPED_TRACE(testing::Message() << row.first_error << " then " << row.second_error);
        fake = FakeManager();
        fake.service_error = row.first_error;
        ServiceControl service("ryx", fake_calls);
        fake.service_error = row.second_error;
        EXPECT_EQ(row.available, service.reopen());
        EXPECT_EQ(row.available, service.is_available());
    }
}

TEST_F(ServiceControlSeam, GrantedAccessOutlivesAFailedManagerOpen) {
    struct KeepCase {
        const char* what;
        DWORD first_full_error; // read access is granted at first
        DWORD later_full_error;
        DWORD later_read_error;
        DWORD granted;
    };
    const KeepCase cases[] = {
        {"read access, then both refused", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED,
         ERROR_ACCESS_DENIED, read_access},
        {"full access, then manager gone", 0, ERROR_NOT_ENOUGH_MEMORY, 0, all_access},
    };
    for (const KeepCase& row : cases) {
        SCOPED_TRACE(row.what);
        fake = FakeManager();
        fake.full_access_error = row.first_full_error;
        ServiceControl service("ryx", fake_calls);
        ASSERT_TRUE(service.is_available());
        fake.full_access_error = row.later_full_error;
        fake.read_access_error = row.later_read_error;

        // The kept access still leads to a service open, with no manager: invalid handle.
        EXPECT_FALSE(service.reopen());
        EXPECT_EQ(row.granted, service.granted_access());
        ASSERT_EQ(2u, fake.service_open_managers.size());
        EXPECT_EQ(nullptr, fake.service_open_managers[1]);
        EXPECT_EQ(row.granted, fake.service_requests[1]);
    }
}

TEST_F(ServiceControlSeam, OnlyTheManagerStaysOpenBetweenOperations) {
    {
        ServiceControl service("ryx", fake_calls);
        ASSERT_TRUE(service.is_available());
        // Each reopen replaces the manager handle and leaves no service handle behind.
        for (int attempt = 0; attempt < 3; ++attempt) {
            ASSERT_TRUE(service.reopen());
            EXPECT_EQ(1u, fake.open_handles.size());
        }
        EXPECT_EQ(static_cast<std::size_t>(fake.closes), fake.managers_issued.size() - 1 +
                                                             fake.services_issued.size());
        service.query_state();
        service.start();
        service.stop();
        EXPECT_EQ(1u, fake.open_handles.size());
        EXPECT_EQ(fake.managers_issued.back(), *fake.open_handles.begin());

        // A reopen that finds no manager leaves nothing open at all.
        fake.full_access_error = ERROR_INVALID_HANDLE;
        EXPECT_FALSE(service.reopen());
        EXPECT_TRUE(fake.open_handles.empty());
    }
    EXPECT_TRUE(fake.open_handles.empty());
    EXPECT_EQ(0, fake.bad_closes);
}

TEST_F(ServiceControlSeam, QueryStartAndStopEachOpenTheServiceByName) {
    struct QueryCase {
        BOOL result;
        DWORD reported;
        DWORD expected;
    };
    // No mapping: the manager's number comes back as it is, and a failure reads as 0.
    const QueryCase queries[] = {{TRUE, SERVICE_STOPPED, 1},
                                 {TRUE, SERVICE_PAUSED, 7},
                                 {TRUE, 8, 8},
                                 {FALSE, SERVICE_RUNNING, 0}};
    ServiceControl service("ryx", fake_calls);
    for (const QueryCase& row : queries) {
        fake.query_result = row.result;
        fake.reported_state = row.reported;
        EXPECT_EQ(row.expected, service.query_state()) << row.reported;
    }

    EXPECT_TRUE(service.start());
    EXPECT_EQ(fake.services_issued.back(), fake.started);
    EXPECT_EQ(0u, fake.start_argument_count);
    EXPECT_EQ(nullptr, fake.start_arguments);
    EXPECT_TRUE(service.stop());
    EXPECT_EQ(static_cast<DWORD>(SERVICE_CONTROL_STOP), fake.control);
    EXPECT_NE(nullptr, fake.control_status);
    EXPECT_EQ(fake.service_requests.size(), fake.services_issued.size());

    // A service removed since: every operation fails, and the state reads as unknown.
    fake.service_error = ERROR_SERVICE_DOES_NOT_EXIST;
    fake.query_result = TRUE;
    EXPECT_EQ(0u, service.query_state());
    EXPECT_FALSE(service.start());
    EXPECT_FALSE(service.stop());
}
