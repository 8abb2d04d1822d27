// The Advanced settings window: the working record's settings that the Config page does not
// show.
#pragma once

#include <windows.h>

#include "config/config_record.h"
#include "ui/control_table.h"
#include "ui/focus_memory.h"
#include "ui/window_font.h"
#include "ui/window_object.h"

class AdvancedDialog : public WindowObject {
public:
    // The owner is passed on as the parent of the top-level window; Ok stores into the record.
    AdvancedDialog(const char* class_name, const char* title, DWORD style, const RECT* rectangle,
                   HINSTANCE instance, HWND owner, UINT_PTR identifier, ConfigRecord& record);

    // Makes the window (which disables its owner) and its controls, hidden.
    bool create();
    LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;

    // The owner is enabled before this window hides, so that it can take the activation.
    void dismiss();

private:
    LRESULT on_command(HWND window, WPARAM wparam, LPARAM lparam);
    void fill_controls();
    void store_controls();
    void show_keepalive(bool on);
    void show_prefix_request(bool on);

    // A new DPI, theme, colour scheme or system font: the system's rectangle (for a DPI), the
    // controls laid out again in a font made again, and painted whole.
    void apply_look(unsigned reported_dpi, const RECT* suggested);

    ConfigRecord& record_;
    ControlTable controls_;
    unsigned dpi_ = 0;
    WindowFont font_;
    FocusMemory focus_;
};
