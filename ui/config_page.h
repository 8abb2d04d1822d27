// The Config tab page: server and credentials, and the Apply, Cancel, Default and Advanced
// buttons that act on the whole configuration.
#pragma once

#include <memory>

#include "ui/tab_dialog.h"

class AdvancedDialog;
class ConfigRecord;

class ConfigPage : public TabDialog {
public:
    ConfigPage(HINSTANCE instance, HWND parent, const RECT* rectangle);
    ~ConfigPage() override;

    LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
    bool create() override;

    // Copies the four input controls into the working record.
    void read_controls();

private:
    void fill_controls();
    void show_anonymous(bool on);
    void apply();
    // Hiding stores the controls, showing reloads them: the record swap sits in between.
    void replace_working_record(const ConfigRecord& source);
    void open_advanced();

    HWND apply_button_ = nullptr;
    HWND default_button_ = nullptr;
    HWND cancel_button_ = nullptr;
    HWND advanced_button_ = nullptr;
    HWND server_label_ = nullptr;
    HWND server_edit_ = nullptr;
    HWND authentication_group_ = nullptr;
    HWND anonymous_box_ = nullptr;
    HWND username_label_ = nullptr;
    HWND username_edit_ = nullptr;
    HWND password_label_ = nullptr;
    HWND password_edit_ = nullptr;
    std::unique_ptr<AdvancedDialog> advanced_;
};
