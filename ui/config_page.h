// The Config tab page: server and credentials, and the Apply, Cancel, Default and Advanced
// buttons that act on the whole configuration.
#pragma once

#include <memory>

#include "ui/tab_dialog.h"

class AdvancedDialog;
class ConfigRecord;

class ConfigPage : public TabDialog {
public:
    ConfigPage(HINSTANCE instance, HWND parent, const RECT* rectangle, unsigned dpi, HFONT font);
    ~ConfigPage() override;

    LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;

    // Copies the four input controls into the working record.
    void read_controls();

private:
    void fill_controls();
    void show_anonymous(bool on);
    void apply();
    // Hiding stores the controls, showing reloads them: the record swap sits in between.
    void replace_working_record(const ConfigRecord& source);
    void open_advanced();

    std::unique_ptr<AdvancedDialog> advanced_;
};
