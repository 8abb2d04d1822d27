// WorkerThread: run on a thread of its own, through the one shared entry point.
#include <gtest/gtest.h>

#include "service/worker_thread.h"

namespace {

class RecordingWorker : public WorkerThread {
public:
    using WorkerThread::thread_entry;

    bool run() override {
        thread_id = GetCurrentThreadId();
        InterlockedIncrement(&runs);
        return false;
    }

    volatile LONG runs = 0;
    DWORD thread_id = 0;
};

} // namespace

TEST(WorkerThread, RunsTheBodyOnAnotherThreadThroughTheSharedEntryPoint) {
    RecordingWorker worker;
    ASSERT_TRUE(worker.start());
    for (int waited = 0; worker.runs == 0 && waited < 10000; waited += 10) {
        Sleep(10);
    }
    ASSERT_EQ(1, worker.runs);
    EXPECT_NE(GetCurrentThreadId(), worker.thread_id);

    // The entry point ignores a missing object and passes the body's result through.
    EXPECT_EQ(0u, RecordingWorker::thread_entry(nullptr));
    RecordingWorker direct;
    EXPECT_EQ(1u, RecordingWorker::thread_entry(&direct)); // run returned false
    EXPECT_EQ(GetCurrentThreadId(), direct.thread_id);
}
