#include "base/background_task.h"

#include <memory>

#include "base/owned_handle.h"
#include "base/private_message.h"

namespace {

struct Task {
    std::function<DWORD()> work;
    HWND window;
    UINT message;
};

DWORD WINAPI run_task(void* parameter) {
    const std::unique_ptr<Task> task(static_cast<Task*>(parameter));
    // A window gone meanwhile gets nothing; the task is freed all the same.
    post_private_message(task->window, task->message, task->work());
    return 0;
}

} // namespace

bool run_in_background(std::function<DWORD()> work, HWND window, UINT message) {
    auto task = std::make_unique<Task>(Task{std::move(work), window, message});
    // Nothing waits for the thread: its handle is let go at once.
    const OwnedHandle<HANDLE> thread(CreateThread(nullptr, 0, run_task, task.get(), 0, nullptr),
                                     CloseHandle);
    if (!thread.is_open()) {
        return false;
    }
    task.release(); // the thread's now
    return true;
}
