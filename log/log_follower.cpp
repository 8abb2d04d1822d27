#include "log/log_follower.h"

#include "app/startup.h"
#include "log/list_log_view.h"
#include "log/log_file.h"
#include "log/log_reader.h"

namespace {

constexpr DWORD wait_ms = 1000;

} // namespace

bool LogFollower::run() {
    if (list_ == nullptr) {
        return false;
    }
    LogFile file(log_file_path);
    ListLogView view(list_);
    LogReader reader(file, view);
    for (;;) {
        if (reader.step() == LogReader::Step::wait) {
            SleepEx(wait_ms, FALSE);
        }
    }
}
