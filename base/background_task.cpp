#include "base/background_task.h"

#include <windows.h>

#include <memory>

#include "base/owned_handle.h"

namespace {

DWORD WINAPI run_task(void* parameter) {
    const std::unique_ptr<std::function<void()>> work(
        static_cast<std::function<void()>*>(parameter));
    (*work)();
    return 0;
}

} // namespace

bool run_in_background(std::function<void()> work) {
    auto task = std::make_unique<std::function<void()>>(std::move(work));
    // Nothing waits for the thread: its handle is let go at once.
    const OwnedHandle<HANDLE> thread(CreateThread(nullptr, 0, run_task, task.get(), 0, nullptr),
                                     CloseHandle);
    if (!thread.is_open()) {
        return false;
    }
    task.release(); // the thread's now, which frees it when done
    return true;
}
