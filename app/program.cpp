#include "app/program.h"

#include "app/main_window.h"
#include "app/program_actions.h"
#include "app/session_claim.h"
#include "app/start_with_windows.h"
#include "app/startup.h"
#include "base/loaded_string.h"
#include "base/message_box.h"
#include "res/resource.h"

namespace {

constexpr std::size_t error_text_capacity = 4096;

// The dialog keys for every window of the program's own (the main window, the Advanced
// window): each message is offered to the top-level window it is for.
bool handled_as_dialog_key(MainWindow& main_window, HACCEL accelerators, MSG& message) {
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (!WindowObject::is_program_window(root)) {
        return false;
    }
    if (root == main_window.handle() && main_window.handle_navigation_key(message)) {
        return true;
    }
    return TranslateAcceleratorA(main_window.handle(), accelerators, &message) ||
           IsDialogMessageA(root, &message);
}

int run_message_loop(MainWindow& main_window, HACCEL accelerators) {
    MSG message = {};
    BOOL fetched;
    while ((fetched = GetMessageA(&message, nullptr, 0, 0)) != 0) {
        if (fetched == -1) {
            return 1;
        }
        if (handled_as_dialog_key(main_window, accelerators, message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace

int run_program(HINSTANCE instance, const char* command_line) {
    // An action runs alone: no window, and outside the session's claim, so that an elevated
    // run started by the session's program neither waits for it nor is handed over to it.
    const bool tray_start = StartWithWindows::asks_for_tray(command_line);
    const ActionRequest request = tray_start ? ActionRequest() : parse_action(command_line);
    if (request.action != ProgramAction::none) {
        return static_cast<int>(run_action(request));
    }

    // Otherwise, first of all: a second start in the same session brings the running program
    // forward instead, however long that one's start-up takes; a second start at logon leaves
    // it be.
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
