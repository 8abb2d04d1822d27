// Shows the main window's first screen from a dialog template (dialog_window.rc), with common
// controls 6 through the program's manifest: what the program's start-up is measured against.
#include <windows.h>

#include <commctrl.h>

namespace {

INT_PTR CALLBACK dialog_proc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        // A template cannot hold a tab control's tabs.
        const HWND tabs = FindWindowExA(dialog, nullptr, WC_TABCONTROLA, nullptr);
        const char* const texts[] = {"Config", "Logging"};
        for (int index = 0; index < 2; ++index) {
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<char*>(texts[index]);
            SendMessageA(tabs, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
        }
        return TRUE;
    }
    case WM_CLOSE:
        DestroyWindow(dialog);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    // Modeless and shown here, as the program shows its window: painted before the loop runs.
    const HWND dialog = CreateDialogParamA(instance, "DIALOG_WINDOW", nullptr, dialog_proc, 0);
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return 0;
}
