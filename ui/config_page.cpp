#include "ui/config_page.h"

#include <commctrl.h>
#include <string>

#include "base/background_task.h"
#include "base/elevated_run.h"
#include "base/loaded_string.h"
#include "base/message_box.h"
#include "base/private_message.h"
#include "base/string_table.h"
#include "config/config_reader.h"
#include "config/config_writer.h"
#include "config/temporary_config_file.h"
#include "config/write_access.h"
#include "res/resource.h"
#include "ui/advanced_dialog.h"
#include "ui/child_controls.h"

namespace {

constexpr std::size_t message_capacity = 4096;
constexpr std::size_t read_capacity = ConfigRecord::server_capacity + 1;

constexpr DWORD label_style = WS_CHILD | WS_VISIBLE;
constexpr DWORD edit_style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD button_style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD default_button_style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD check_style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX;

// In reading order, which is the Tab key's: top to bottom, left to right. Apply is what Enter
// presses.
const ControlRow controls[] = {
    {"STATIC", IDC_SERVER_LABEL, IDS_SERVER_LABEL, label_style, 30, 20, 100, 17, 0, 0, 0},
    {"EDIT", IDC_SERVER, 0, edit_style, 140, 20, 200, 23, ConfigRecord::server_capacity, 0, 0},
    {"BUTTON", IDC_AUTH_GROUP, IDS_AUTHENTICATION, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 30, 50, 360,
     120, 0, 0, 0},
    {"BUTTON", IDC_ANONYMOUS, IDS_ANONYMOUS, check_style, 40, 75, 100, 17, 0, 0, 0},
    {"STATIC", IDC_USERNAME_LABEL, IDS_USERNAME_LABEL, label_style, 50, 100, 120, 17, 0, 0, 0},
    {"EDIT", IDC_USERNAME, 0, edit_style, 180, 100, 200, 23, ConfigRecord::userid_capacity, 0, 0},
    {"STATIC", IDC_PASSWORD_LABEL, IDS_PASSWORD_LABEL, label_style, 50, 128, 120, 17, 0, 0, 0},
    {"EDIT", IDC_PASSWORD, 0, edit_style | ES_PASSWORD, 180, 128, 200, 23,
     ConfigRecord::passwd_capacity, 0, 0},
    {"BUTTON", IDC_ADVANCED, IDS_ADVANCED, button_style, 290, 378, 73, 23, 0, 0, 0},
    {"BUTTON", IDC_CANCEL, IDS_CANCEL, button_style, 373, 378, 73, 23, 0, 0, 0},
    {"BUTTON", IDC_DEFAULT, IDS_DEFAULT, button_style, 456, 378, 73, 23, 0, 0, 0},
    {"BUTTON", IDC_APPLY, IDS_APPLY, default_button_style, 539, 378, 73, 23, 0, 0, 0},
};

const RECT advanced_area = {0, 0, 387, 358};

// The control a failed rule is about; the prefix's are in the Advanced window, which its button
// opens.
int field_of(unsigned rule_message) {
    switch (rule_message) {
    case IDS_ERR_SERVER:
        return IDC_SERVER;
    case IDS_ERR_USERNAME:
        return IDC_USERNAME;
    case IDS_ERR_PASSWORD:
        return IDC_PASSWORD;
    default:
        return IDC_ADVANCED;
    }
}

} // namespace

ConfigPage::ConfigPage(HINSTANCE instance, HWND parent, const RECT* rectangle, unsigned dpi,
                       HFONT font, Session& session)
    : TabDialog(instance, parent, rectangle, ControlTable(controls), dpi, font), session_(session) {
}

ConfigPage::~ConfigPage() = default;

HWND ConfigPage::owner() const {
    return GetAncestor(window_, GA_ROOT);
}

void ConfigPage::show_anonymous(bool on) {
    show_check(controls_.get(IDC_ANONYMOUS), on,
               {controls_.get(IDC_USERNAME), controls_.get(IDC_PASSWORD)}, !on);
}

void ConfigPage::fill_controls() {
    const ConfigRecord& record = session_.working_record;
    SendMessageA(controls_.get(IDC_SERVER), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(record.get_server()));
    SendMessageA(controls_.get(IDC_USERNAME), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(record.get_userid()));
    SendMessageA(controls_.get(IDC_PASSWORD), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(record.get_passwd()));
    show_anonymous(record.get_anonymous());
}

void ConfigPage::read_controls() {
    // The credentials are read while disabled too: they stay in the record under Anonymous.
    char text[read_capacity];
    ConfigRecord& record = session_.working_record;
    read_edit(controls_.get(IDC_SERVER), text, sizeof text, ConfigRecord::server_capacity);
    record.set_server(text);
    record.set_anonymous(IsDlgButtonChecked(window_, IDC_ANONYMOUS) == BST_CHECKED);
    read_edit(controls_.get(IDC_USERNAME), text, sizeof text, ConfigRecord::userid_capacity);
    record.set_userid(text);
    read_edit(controls_.get(IDC_PASSWORD), text, sizeof text, ConfigRecord::passwd_capacity);
    record.set_passwd(text);
}

ApplyOutcome ConfigPage::apply() {
    read_controls();
    const auto messages = std::make_unique<char[]>(message_capacity);
    unsigned first_failed = 0;
    if (!session_.working_record.validate(messages.get(), message_capacity,
                                          StringTable(page_instance_), &first_failed)) {
        // The controls keep the values that failed, under the box; then the first is where the
        // keyboard is.
        MessageBoxA(owner(), messages.get(), nullptr, MB_OK);
        SetFocus(controls_.get(field_of(first_failed)));
        return ApplyOutcome::refused;
    }
    if (write_elevated_) {
        return apply_elevated();
    }
    unsigned long error = 0;
    if (!write_config_file(session_.config_file_path, session_.install_dir, session_.working_record,
                           &error)) {
        // The old file is still there and the file record still matches it: no reading back.
        // The working record keeps what was typed, for another try.
        show_message_box(owner(), IDS_ERR_WRITE_FAILED, error, MB_OK | MB_ICONERROR);
        return ApplyOutcome::refused;
    }
    read_back();
    return ApplyOutcome::written;
}

void ConfigPage::read_back() {
    read_config_file(session_.config_file_path, session_.file_record);
    fill_controls();
}

ApplyOutcome ConfigPage::apply_elevated() {
    // What Apply would write, handed over in a file of the user's own, which goes once the
    // elevated run has read it.
    auto handover =
        std::make_shared<TemporaryConfigFile>(session_.install_dir, session_.working_record);
    if (!handover->is_made()) {
        show_message_box(owner(), IDS_ERR_WRITE_FAILED, handover->error(), MB_OK | MB_ICONERROR);
        return ApplyOutcome::refused;
    }
    const HWND apply_button = controls_.get(IDC_APPLY);
    if (GetFocus() == apply_button) {
        SetFocus(controls_.get(IDC_DEFAULT));
    }
    EnableWindow(apply_button, FALSE);
    const std::string arguments =
        action_command_line(ProgramAction::write_config, handover->path());
    const HWND window = owner();
    if (!run_in_background([handover, arguments, window] {
            post_private_message(window, private_message::config_write_done,
                                 run_elevated(arguments.c_str(), window));
        })) {
        finish_elevated_apply(GetLastError());
        return ApplyOutcome::refused;
    }
    return ApplyOutcome::pending;
}

bool ConfigPage::finish_elevated_apply(DWORD exit_code) {
    EnableWindow(controls_.get(IDC_APPLY), TRUE);
    if (exit_code == ERROR_SUCCESS) {
        read_back();
        return true;
    }
    // Declined at the consent prompt, which the user saw: nothing more to tell.
    char text[LoadedString::capacity * 4];
    if (elevated_failure_text(ProgramAction::write_config, exit_code, text, sizeof text)) {
        MessageBoxA(owner(), text, nullptr, MB_OK | MB_ICONERROR);
    }
    return false;
}

void ConfigPage::decide_write_rights() {
    write_elevated_ = config_write_needs_elevation(session_.config_file_path);
    SendMessageA(controls_.get(IDC_APPLY), BCM_SETSHIELD, 0, write_elevated_ ? TRUE : FALSE);
}

void ConfigPage::replace_working_record(const ConfigRecord& source) {
    session_.working_record.assign_from(source);
    fill_controls();
}

void ConfigPage::open_advanced() {
    const HWND main_window = owner();
    // Where the keyboard comes back to when the Advanced window closes.
    SetFocus(controls_.get(IDC_ADVANCED));
    if (advanced_ == nullptr) {
        const LoadedString title(IDS_ADVANCED_TITLE);
        advanced_ = std::make_unique<AdvancedDialog>(
            "AdvancedDialog", title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU, &advanced_area,
            page_instance_, main_window, 0, session_.working_record);
        advanced_->create(); // its creation disables the owner
        ShowWindow(advanced_->handle(), SW_SHOW);
        return;
    }
    EnableWindow(main_window, FALSE);
    EnableWindow(advanced_->handle(), TRUE);
    ShowWindow(advanced_->handle(), SW_SHOW);
}

LRESULT ConfigPage::on_command(HWND window, WPARAM wparam, LPARAM lparam) {
    if (HIWORD(wparam) != BN_CLICKED) {
        return DefWindowProcA(window, WM_COMMAND, wparam, lparam);
    }
    switch (LOWORD(wparam)) {
    case IDC_ANONYMOUS:
        show_anonymous(IsDlgButtonChecked(window, IDC_ANONYMOUS) != BST_CHECKED);
        return 0;
    case IDC_APPLY:
        apply();
        return 0;
    case IDC_CANCEL:
        replace_working_record(session_.file_record);
        return 0;
    case IDC_DEFAULT:
        if (!session_.default_file_read) {
            show_message_box(owner(), IDS_ERR_DEFAULT_UNREADABLE, MB_OK | MB_ICONERROR);
            return 0;
        }
        replace_working_record(session_.default_record);
        return 0;
    case IDC_ADVANCED:
        open_advanced();
        return 0;
    default:
        return DefWindowProcA(window, WM_COMMAND, wparam, lparam);
    }
}

LRESULT ConfigPage::handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
    case WM_ERASEBKGND:
        paint_nothing(window);
        return 0;
    case WM_CTLCOLORSTATIC:
        return control_background(reinterpret_cast<HWND>(lparam), message, wparam, lparam);
    case WM_SHOWWINDOW:
        // Leaving the tab keeps what was typed; coming back shows the record as it is then.
        wparam != 0 ? fill_controls() : read_controls();
        return 0;
    case WM_COMMAND:
        return on_command(window, wparam, lparam);
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}
