// WorkerThread: run on a thread of its own, through the one shared entry point.
#include <gtest/gtest.h>

#include "service/worker_thread.h"

namespace {

class RecordingWorker : public WorkerThread {
public:
    RecordingWorker() : done_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~RecordingWorker() { CloseHandle(done_); }
    RecordingWorker(const RecordingWorker&) = delete;
    RecordingWorker& operator=(const RecordingWorker&) = delete;

    using WorkerThread::thread_entry;

    bool run() override {
        ++runs;
        thread_id = GetCurrentThreadId();
        SetEvent(done_);
        return false;
    }

    bool wait_done() const { return WaitForSingleObject(done_, 10000) == WAIT_OBJECT_0; }

    LONG runs = 0;
    DWORD thread_id = 0;

private:
    HANDLE done_;
};

} // namespace

TEST(WorkerThread, StartRunsTheBodyOnAnotherThread) {
    RecordingWorker worker;
    ASSERT_TRUE(worker.start());
    ASSERT_TRUE(worker.wait_done());
    EXPECT_EQ(1, worker.runs);
    EXPECT_NE(0u, worker.thread_id);
    EXPECT_NE(GetCurrentThreadId(), worker.thread_id);
}

TEST(WorkerThread, EntryPointRunsTheObjectAndIgnoresItsResult) {
    EXPECT_EQ(0u, RecordingWorker::thread_entry(nullptr));
    RecordingWorker worker;
    EXPECT_EQ(1u, RecordingWorker::thread_entry(&worker)); // run returned false
    EXPECT_EQ(1, worker.runs);
    EXPECT_EQ(GetCurrentThreadId(), worker.thread_id);
}
