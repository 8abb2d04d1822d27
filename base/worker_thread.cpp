#include "base/worker_thread.h"

#include "base/owned_handle.h"

bool WorkerThread::start() {
    // Nothing ever waits for a worker: its handle would only stay open until the process ends.
    const OwnedHandle thread(CreateThread(nullptr, 0, thread_entry, this, 0, &thread_id_),
                             CloseHandle);
    return thread.is_open();
}

DWORD WINAPI WorkerThread::thread_entry(void* parameter) {
    if (parameter == nullptr) {
        return 0;
    }
    static_cast<WorkerThread*>(parameter)->run();
    return 1;
}
