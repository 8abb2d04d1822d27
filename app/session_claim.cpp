#include "app/session_claim.h"

#include "app/main_window.h"
#include "base/message_box.h"
#include "res/resource.h"

namespace {

// A first start shows its window well within this; one that does not answer by then is told
// about rather than waited for longer.
constexpr DWORD starting_wait_ms = 10000;
constexpr DWORD poll_ms = 50;
constexpr UINT answer_ms = 1000;

// The running program's main window once its thread answers, which it does from its message
// loop, after start-up; hidden in the notification area, it still counts. A window that is
// being destroyed answers no more, and a closing program is then waited for instead.
HWND answering_main_window() {
    const HWND window = FindWindowA(MainWindow::window_class, nullptr);
    DWORD_PTR ignored = 0;
    if (window == nullptr ||
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, answer_ms,
                            &ignored) == 0) {
        return nullptr;
    }
    return window;
}

void bring_to_front(HWND window) {
    // Asked, not waited for: a busy program restores itself when it gets to it. Restoring also
    // shows a window hidden in the notification area.
    if (IsIconic(window) || !IsWindowVisible(window)) {
        ShowWindowAsync(window, SW_RESTORE);
    }
    // A box or the Advanced window open over the main window stays in front of it.
    SetForegroundWindow(GetLastActivePopup(window));
}

} // namespace

bool SessionClaim::hand_over_to_running_instance(bool bring_forward) {
    // Held until the process ends, when the system lets go of it: a start waiting for it then
    // carries on as the session's program.
    SetLastError(ERROR_SUCCESS);
    claim_.reset(CreateMutexA(nullptr, TRUE, name));
    if (!claim_.is_open() || GetLastError() != ERROR_ALREADY_EXISTS) {
        held_ = claim_.is_open();
        return false; // the first start (or no claim to be had: then simply a program of its own)
    }
    const ULONGLONG deadline = GetTickCount64() + starting_wait_ms;
    for (;;) {
        if (const HWND window = answering_main_window()) {
            if (bring_forward) {
                bring_to_front(window);
            }
            return true;
        }
        // Still starting: poll for its window. Ended, or closing and then ended: take over.
        const DWORD waited = WaitForSingleObject(claim_.get(), poll_ms);
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
            held_ = true;
            return false;
        }
        if (waited == WAIT_FAILED) {
            return false; // no claim to be had after all: a program of its own
        }
        if (GetTickCount64() >= deadline) {
            // Never a second window beside a program that holds the session: both would
            // follow the log and write the configuration.
            show_message_box(nullptr, IDS_ERR_NOT_RESPONDING, MB_OK | MB_ICONWARNING);
            return true;
        }
    }
}

void SessionClaim::release() {
    if (held_) {
        ReleaseMutex(claim_.get());
        held_ = false;
    }
    claim_.reset();
}
