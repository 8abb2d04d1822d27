#include "service/worker_thread.h"

bool WorkerThread::start() {
    thread_ = CreateThread(nullptr, 0, thread_entry, this, 0, &thread_id_);
    return thread_ != nullptr;
}

DWORD WINAPI WorkerThread::thread_entry(void* parameter) {
    if (parameter == nullptr) {
        return 0;
    }
    static_cast<WorkerThread*>(parameter)->run();
    return 1;
}
