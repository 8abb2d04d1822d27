#include "log/log_follower.h"

#include "log/log_file.h"
#include "log/log_reader.h"
#include "log/mailbox_log_view.h"

namespace {
constexpr DWORD wait_ms = 1000;
} // namespace

bool LogFollower::run() {
    LogFile file(path_.c_str());
    MailboxLogView view(*mailbox_, window_);
    LogReader reader(file, view);
    for (;;) {
        if (reader.step() == LogReader::Step::wait) {
            SleepEx(wait_ms, FALSE);
        }
    }
}
