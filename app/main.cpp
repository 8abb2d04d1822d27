// The program's entry point: start-up, the main window and the one message loop.
#include <windows.h>

#include "app/loaded_string.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "app/startup.h"
#include "res/resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    initialise();
    // A second start in the same session brings the running program forward instead.
    if (hand_over_to_running_instance()) {
        return 0;
    }

    const LoadedString title(IDS_APP_TITLE);
    app_instance = instance;

    // The program takes no arguments and always shows its window normally.
    main_window = new MainWindow(title.c_str(), WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                                 &MainWindow::area, app_instance);
    main_window->create();
    main_window->show();
    // Told over the painted window, whose page shows what Apply would write instead.
    if (config_file_unreadable) {
        PostMessageA(main_window->handle(), MainWindow::config_warning_message, 0, 0);
    }

    const HACCEL accelerators = LoadAcceleratorsA(app_instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    MSG message = {};
    BOOL fetched;
    while ((fetched = GetMessageA(&message, nullptr, 0, 0)) != 0) {
        if (fetched == -1) {
            return 1;
        }
        const HWND window = main_window->handle();
        if (TranslateAcceleratorA(window, accelerators, &message) ||
            IsDialogMessageA(window, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
