// The Config tab page: server and credentials, and the Apply, Cancel, Default and Advanced
// buttons that act on the whole configuration.
#pragma once

#include <memory>

#include "config/session.h"
#include "ui/tab_dialog.h"

class AdvancedDialog;

class ConfigPage : public TabDialog {
public:
    // Edits the session's working record; Apply writes it to the session's configuration file.
    ConfigPage(HINSTANCE instance, HWND parent, const RECT* rectangle, unsigned dpi, HFONT font,
               Session& session);
    ~ConfigPage() override;

    LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;

    // Copies the four input controls into the working record.
    void read_controls();
    // Shows the working record in the controls.
    void fill_controls();
    // Stores, validates, writes and reads back, as the Apply button; false, with the user told
    // why, when nothing was written.
    bool apply();

private:
    LRESULT on_command(HWND window, WPARAM wparam, LPARAM lparam);
    void show_anonymous(bool on);
    // Cancel and Default: the working record replaced, and shown.
    void replace_working_record(const ConfigRecord& source);
    void open_advanced();
    // The main window: owner of the boxes and of the Advanced window.
    HWND owner() const;

    Session& session_;
    std::unique_ptr<AdvancedDialog> advanced_;
};
