// Base of the program's background threads: one thread per object, whose body is run.
// Workers live until the process ends; nothing stops or joins them.
#pragma once

#include <windows.h>

class WorkerThread {
public:
    WorkerThread() = default;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts the thread at once; false when it could not be created.
    bool start();

    virtual bool run() = 0;

protected:
    ~WorkerThread() = default; // workers are never destroyed through this base

    // Shared by every worker; a null object ends the thread at once with 0.
    static DWORD WINAPI thread_entry(void* parameter);

private:
    DWORD thread_id_ = 0;
};
