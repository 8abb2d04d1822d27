#include "app/program.h"

#include "app/main_window.h"
#include "app/session_claim.h"
#include "app/start_with_windows.h"
#include "app/startup.h"
#include "base/loaded_string.h"
#include "base/message_box.h"
#include "res/resource.h"

namespace {

constexpr std::size_t error_text_capacity = 4096;

int run_message_loop(const MainWindow& main_window, HACCEL accelerators) {
    MSG message = {};
    BOOL fetched;
    while ((fetched = GetMessageA(&message, nullptr, 0, 0)) != 0) {
        if (fetched == -1) {
            return 1;
        }
        const HWND window = main_window.handle();
        if (TranslateAcceleratorA(window, accelerators, &message) ||
            IsDialogMessageA(window, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace

int run_program(HINSTANCE instance, const char* command_line) {
    // First of all: a second start in the same session brings the running program forward
    // instead, however long that one's start-up takes; a second start at logon leaves it be.
    const bool tray_start = StartWithWindows::asks_for_tray(command_line);
    SessionClaim claim;
    if (claim.hand_over_to_running_instance(!tray_start)) {
        return 0;
    }

    Session session;
    char error_text[error_text_capacity];
    if (!resolve_installation_paths(session, error_text, sizeof error_text)) {
        claim.release(); // the next start need not wait for this box
        MessageBoxA(nullptr, error_text, nullptr, MB_ICONERROR | MB_OK);
        return 1;
    }
    load_configuration(session);

    // Shown normally, unless started into the notification area.
    const LoadedString title(IDS_APP_TITLE);
    MainWindow main_window(title.c_str(), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE,
                           &MainWindow::area, instance, session, tray_start);
    if (!main_window.create()) {
        const DWORD error = GetLastError();
        claim.release();
        show_message_box(nullptr, IDS_ERR_WINDOW_FAILED, error, MB_ICONERROR | MB_OK);
        return 1;
    }
    if (!tray_start) {
        main_window.show();
    }

    const HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    return run_message_loop(main_window, accelerators);
}
