// What a status poll costs: ServiceControl::query_state on the running stand-in service,
// side by side with a plain QueryServiceStatus, and one open attempt while the service is
// missing (the monitor's retry).
#include <algorithm>
#include <cstdio>
#include <vector>

#include "service/service_control.h"
#include "win/demo_installation.h"

namespace {

constexpr int query_calls = 1000;
constexpr int open_attempts = 50;
constexpr DWORD state_timeout_ms = 20000;

class Stopwatch {
public:
    Stopwatch() { QueryPerformanceFrequency(&frequency_); }
    LONGLONG now() const {
        LARGE_INTEGER count;
        QueryPerformanceCounter(&count);
        return count.QuadPart;
    }
    double microseconds(LONGLONG from, LONGLONG to) const {
        return static_cast<double>(to - from) * 1e6 / static_cast<double>(frequency_.QuadPart);
    }

private:
    LARGE_INTEGER frequency_;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// False, so that a step can fail in one statement.
bool fail(const char* what) {
    std::fprintf(stderr, "service_query: %s\n", what);
    return false;
}

// Times query_state and a plain query, interleaved so that both meet the same load.
bool time_queries(const Stopwatch& watch, std::vector<double>& through_class,
                  std::vector<double>& plain) {
    // Its own scope: a handle left open would keep the deleted service alive afterwards.
    ServiceControl service("ryx");
    if (!service.start() ||
        wait_for_state(service, SERVICE_RUNNING, state_timeout_ms) != SERVICE_RUNNING) {
        return fail("the service did not start");
    }
    const SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    const SC_HANDLE direct = OpenServiceA(manager, "ryx", SERVICE_QUERY_STATUS);
    if (direct == nullptr) {
        return fail("cannot open the service directly");
    }
    int wrong_states = 0;
    for (int call = 0; call < query_calls; ++call) {
        LONGLONG begun = watch.now();
        const DWORD state = service.query_state();
        through_class.push_back(watch.microseconds(begun, watch.now()));
        SERVICE_STATUS status = {};
        begun = watch.now();
        const BOOL queried = QueryServiceStatus(direct, &status);
        plain.push_back(watch.microseconds(begun, watch.now()));
        wrong_states += state != SERVICE_RUNNING || !queried;
    }
    CloseServiceHandle(direct);
    CloseServiceHandle(manager);
    if (wrong_states != 0) {
        return fail("a query did not read the running state");
    }
    if (!service.stop() ||
        wait_for_state(service, SERVICE_STOPPED, state_timeout_ms) != SERVICE_STOPPED) {
        return fail("the service did not stop");
    }
    return true;
}

} // namespace

int main() {
    const Stopwatch watch;
    const DemoInstallation demo;
    std::vector<double> through_class;
    std::vector<double> plain;
    if (!demo.install()) {
        fail("install failed");
        return 1;
    }
    if (!time_queries(watch, through_class, plain)) {
        return 1;
    }
    if (!demo.uninstall()) {
        fail("the service could not be removed");
        return 1;
    }

    // The monitor's retry while the service is missing.
    ServiceControl missing("ryx");
    std::vector<double> reopening;
    int found = 0;
    for (int attempt = 0; attempt < open_attempts; ++attempt) {
        const LONGLONG begun = watch.now();
        found += missing.reopen();
        reopening.push_back(watch.microseconds(begun, watch.now()));
    }
    if (found != 0) {
        fail("the removed service was still found");
        return 1;
    }

    const double class_median = median(through_class);
    const double plain_median = median(plain);
    std::printf("query_state, running service:      median %8.1f us (%d calls)\n", class_median,
                query_calls);
    std::printf("QueryServiceStatus, direct handle: median %8.1f us (%d calls)\n", plain_median,
                query_calls);
    std::printf("ratio query_state / QueryServiceStatus: %.2f\n", class_median / plain_median);
    std::printf("reopen, service missing:           median %8.1f us (%d attempts)\n",
                median(reopening), open_attempts);
    return 0;
}
