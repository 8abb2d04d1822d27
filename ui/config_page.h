// The Config tab page: server and credentials, and the Apply, Cancel, Default and Advanced
// buttons that act on the whole configuration.
#pragma once

#include <memory>

#include "config/session.h"
#include "ui/tab_dialog.h"

class AdvancedDialog;

enum class ApplyOutcome {
    written, // and read back
    refused, // nothing written; the user has been told why
    pending, // an elevated run of the program writes it: finish_elevated_apply tells
};

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
    // Stores, validates, writes and reads back, as the Apply button. Where this user may not
    // write the configuration, an elevated run of the program writes it, waited for on a
    // thread of its own; its exit code comes to the main window, which hands it to
    // finish_elevated_apply (true when written).
    ApplyOutcome apply();
    bool finish_elevated_apply(DWORD exit_code);
    // Whether Windows will ask about Apply: the shield on it, and what a press does.
    void decide_write_rights();

private:
    LRESULT on_command(HWND window, WPARAM wparam, LPARAM lparam);
    void show_anonymous(bool on);
    ApplyOutcome apply_elevated();
    void read_back();
    // Cancel and Default: the working record replaced, and shown.
    void replace_working_record(const ConfigRecord& source);
    void open_advanced();
    // The main window: owner of the boxes and of the Advanced window.
    HWND owner() const;

    Session& session_;
    std::unique_ptr<AdvancedDialog> advanced_;
    bool write_elevated_ = false;
};
