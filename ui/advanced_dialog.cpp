#include "ui/advanced_dialog.h"

#include <charconv>
#include <cstring>

#include "base/loaded_string.h"
#include "res/resource.h"
#include "ui/child_controls.h"
#include "ui/dpi_scale.h"

namespace {

constexpr std::size_t read_capacity = ConfigRecord::server_capacity + 1;
constexpr std::size_t interval_digits = 10;
constexpr std::size_t prefix_digits = 3;
constexpr int v4v6_mode = 3; // IPv4 over IPv6: the one mode whose client address is IPv6

constexpr DWORD label_style = WS_CHILD | WS_VISIBLE;
constexpr DWORD list_style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST;
constexpr DWORD check_style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX;
constexpr DWORD button_style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD number_style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP;
constexpr DWORD prefix_edit_style = number_style | WS_DISABLED;

// In reading order, which is the Tab key's: top to bottom, left to right. The prefix settings
// live inside the group box, in its coordinates; the box lets the keyboard in. Ok is what Enter
// presses.
const ControlRow controls[] = {
    {"STATIC", IDC_AUTH_METHOD_LABEL, IDS_AUTH_METHOD_LABEL, label_style, 10, 20, 160, 17, 0, 0, 0},
    {"COMBOBOX", IDC_AUTH_METHOD, 0, list_style, 170, 20, 200, 136, 0, 0, 0},
    {"STATIC", IDC_TUNNEL_MODE_LABEL, IDS_TUNNEL_MODE_LABEL, label_style, 10, 48, 160, 17, 0, 0, 0},
    {"COMBOBOX", IDC_TUNNEL_MODE, 0, list_style, 170, 48, 200, 136, 0, 0, 0},
    {"STATIC", IDC_CLIENT_ADDRESS_LABEL, IDS_CLIENT_ADDRESS_LABEL, label_style, 10, 76, 160, 17, 0,
     0, 0},
    {"EDIT", IDC_CLIENT_ADDRESS, 0, number_style | ES_AUTOHSCROLL, 170, 76, 200, 23,
     ConfigRecord::client_address_capacity, 0, 0},
    {"BUTTON", IDC_KEEPALIVE, IDS_KEEPALIVE, check_style, 10, 104, 160, 17, 0, 0, 0},
    {"STATIC", IDC_KEEPALIVE_INTERVAL_LABEL, IDS_KEEPALIVE_INTERVAL_LABEL, label_style, 10, 121,
     160, 17, 0, 0, 0},
    {"EDIT", IDC_KEEPALIVE_INTERVAL, 0, number_style, 170, 118, 100, 23, interval_digits, 0, 0},
    {"BUTTON", IDC_REQUEST_PREFIX, IDS_REQUEST_PREFIX, check_style, 10, 148, 160, 17, 0, 0, 0},
    {"BUTTON", IDC_PREFIX_GROUP, IDS_PREFIX_GROUP,
     WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_TABSTOP | BS_GROUPBOX, 10, 168, 360, 105, 0, 0,
     WS_EX_CONTROLPARENT},
    {"STATIC", IDC_PREFIX_LENGTH_LABEL, IDS_PREFIX_LENGTH_LABEL, label_style, 5, 25, 160, 17, 0,
     IDC_PREFIX_GROUP, 0},
    {"EDIT", IDC_PREFIX_LENGTH, 0, prefix_edit_style, 165, 25, 100, 23, prefix_digits,
     IDC_PREFIX_GROUP, 0},
    {"STATIC", IDC_RTADV_INTERFACE_LABEL, IDS_RTADV_INTERFACE_LABEL, label_style, 5, 50, 160, 17, 0,
     IDC_PREFIX_GROUP, 0},
    {"EDIT", IDC_RTADV_INTERFACE, 0, prefix_edit_style, 165, 50, 100, 23, prefix_digits,
     IDC_PREFIX_GROUP, 0},
    {"STATIC", IDC_DNS_SERVER_LABEL, IDS_DNS_SERVER_LABEL, label_style, 5, 75, 160, 17, 0,
     IDC_PREFIX_GROUP, 0},
    {"EDIT", IDC_DNS_SERVER, 0, prefix_edit_style | ES_AUTOHSCROLL, 165, 75, 180, 23,
     ConfigRecord::dns_server_capacity, IDC_PREFIX_GROUP, 0},
    {"BUTTON", IDC_ADV_OK, IDS_OK, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 212, 290,
     73, 23, 0, 0, 0},
    {"BUTTON", IDC_ADV_CANCEL, IDS_CANCEL, button_style, 295, 290, 73, 23, 0, 0, 0},
};

const unsigned auth_method_items[ConfigRecord::keyword_count] = {IDS_AUTH_ANY, IDS_AUTH_DIGEST_MD5,
                                                                 IDS_AUTH_PLAIN, IDS_AUTH_PASS_DSS};
const unsigned tunnel_mode_items[ConfigRecord::keyword_count] = {IDS_MODE_V6ANYV4, IDS_MODE_V6V4,
                                                                 IDS_MODE_V6UDPV4, IDS_MODE_V4V6};

// The list position is the record's index, so the items go in by position.
void fill_list(HWND list, const unsigned (&items)[ConfigRecord::keyword_count]) {
    for (int position = 0; position < ConfigRecord::keyword_count; ++position) {
        SendMessageA(list, CB_INSERTSTRING, position,
                     reinterpret_cast<LPARAM>(LoadedString(items[position]).c_str()));
    }
}

// Nothing selected counts as the first item.
int selected_position(HWND list) {
    const LRESULT position = SendMessageA(list, CB_GETCURSEL, 0, 0);
    return position == CB_ERR ? 0 : static_cast<int>(position);
}

void set_number_text(HWND edit, long value, char* buffer, std::size_t capacity) {
    std::memset(buffer, 0, capacity);
    std::to_chars(buffer, buffer + capacity - 1, value);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(buffer));
}

} // namespace

AdvancedDialog::AdvancedDialog(const char* class_name, const char* title, DWORD style,
                               const RECT* rectangle, HINSTANCE instance, HWND owner,
                               UINT_PTR identifier, ConfigRecord& record)
    : WindowObject(class_name, title, style, rectangle, instance), record_(record),
      controls_(controls) {
    extended_style_ = WS_EX_CONTEXTHELP;
    parent_ = owner;
    menu_or_id_ = identifier;
}

bool AdvancedDialog::create() {
    if (!WindowObject::create()) {
        return false;
    }
    dpi_ = dpi_after_creation();
    font_ = WindowFont(dpi_);
    controls_.create(window_, instance_, dpi_, font_.get());
    // Replaced by the record's value on every show.
    SetWindowTextA(controls_.get(IDC_RTADV_INTERFACE), "0");
    fill_list(controls_.get(IDC_AUTH_METHOD), auth_method_items);
    fill_list(controls_.get(IDC_TUNNEL_MODE), tunnel_mode_items);
    return true;
}

void AdvancedDialog::apply_look(unsigned reported_dpi, const RECT* suggested) {
    dpi_ = sane_dpi(reported_dpi);
    WindowFont font(dpi_);
    if (suggested != nullptr) {
        take_dpi_rect(reported_dpi, suggested);
    }
    controls_.lay_out(dpi_, font.get());
    font_ = std::move(font); // the old font goes once no control uses it
    redraw_whole(window_);
}

void AdvancedDialog::dismiss() {
    EnableWindow(parent_, TRUE);
    ShowWindow(window_, SW_HIDE);
    EnableWindow(window_, FALSE);
}

void AdvancedDialog::show_keepalive(bool on) {
    show_check(controls_.get(IDC_KEEPALIVE), on, {controls_.get(IDC_KEEPALIVE_INTERVAL)}, on);
}

void AdvancedDialog::show_prefix_request(bool on) {
    show_check(controls_.get(IDC_REQUEST_PREFIX), on,
               {controls_.get(IDC_PREFIX_GROUP), controls_.get(IDC_PREFIX_LENGTH),
                controls_.get(IDC_RTADV_INTERFACE), controls_.get(IDC_DNS_SERVER)},
               on);
}

void AdvancedDialog::fill_controls() {
    // The record's ranges keep each number within the digits its edit accepts.
    char interval[interval_digits + 1];
    char prefix_length[prefix_digits + 1];
    char prefix_interface[prefix_digits + 1];
    const ConfigRecord& record = record_;
    const char* address =
        record.get_tunnel_mode() == v4v6_mode ? record.get_client_v6() : record.get_client_v4();
    SendMessageA(controls_.get(IDC_CLIENT_ADDRESS), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(address));
    set_number_text(controls_.get(IDC_KEEPALIVE_INTERVAL), record.get_keepalive_interval(),
                    interval, sizeof interval);
    set_number_text(controls_.get(IDC_PREFIX_LENGTH), record.get_prefixlen(), prefix_length,
                    sizeof prefix_length);
    set_number_text(controls_.get(IDC_RTADV_INTERFACE), record.get_if_prefix(), prefix_interface,
                    sizeof prefix_interface);
    SendMessageA(controls_.get(IDC_DNS_SERVER), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(record.get_dns_server()));
    SendMessageA(controls_.get(IDC_AUTH_METHOD), CB_SETCURSEL, record.get_auth_method(), 0);
    SendMessageA(controls_.get(IDC_TUNNEL_MODE), CB_SETCURSEL, record.get_tunnel_mode(), 0);
    show_keepalive(record.get_keepalive());
    show_prefix_request(record.get_router());
}

void AdvancedDialog::store_controls() {
    // Refused numbers keep the record's previous value; the next opening shows it.
    char text[read_capacity];
    ConfigRecord& record = record_;
    record.set_auth_method(selected_position(controls_.get(IDC_AUTH_METHOD)));
    record.set_tunnel_mode(selected_position(controls_.get(IDC_TUNNEL_MODE)));
    read_edit(controls_.get(IDC_CLIENT_ADDRESS), text, sizeof text,
              ConfigRecord::client_address_capacity);
    if (record.get_tunnel_mode() == v4v6_mode) {
        record.set_client_v6(text);
    } else {
        record.set_client_v4(text);
    }
    record.set_keepalive(IsDlgButtonChecked(window_, IDC_KEEPALIVE) == BST_CHECKED);
    read_edit(controls_.get(IDC_KEEPALIVE_INTERVAL), text, sizeof text, interval_digits);
    record.parse_keepalive_interval(text);
    record.set_router(IsDlgButtonChecked(window_, IDC_REQUEST_PREFIX) == BST_CHECKED);
    read_edit(controls_.get(IDC_PREFIX_LENGTH), text, sizeof text, prefix_digits);
    record.parse_prefixlen(text);
    read_edit(controls_.get(IDC_RTADV_INTERFACE), text, sizeof text, prefix_digits);
    record.parse_if_prefix(text);
    read_edit(controls_.get(IDC_DNS_SERVER), text, sizeof text, ConfigRecord::dns_server_capacity);
    record.set_dns_server(text);
}

LRESULT AdvancedDialog::on_command(HWND window, WPARAM wparam, LPARAM lparam) {
    if (HIWORD(wparam) != BN_CLICKED) {
        return DefWindowProcA(window, WM_COMMAND, wparam, lparam);
    }
    switch (LOWORD(wparam)) {
    case IDC_ADV_OK:
    case IDOK: // Enter, should the dialog keys not ask for the default button
        store_controls();
        dismiss();
        return 0;
    case IDC_ADV_CANCEL:
    case IDCANCEL: // Esc
        dismiss();
        return 0;
    case IDC_KEEPALIVE:
        show_keepalive(IsDlgButtonChecked(window, IDC_KEEPALIVE) != BST_CHECKED);
        return 0;
    case IDC_REQUEST_PREFIX:
        show_prefix_request(IsDlgButtonChecked(window, IDC_REQUEST_PREFIX) != BST_CHECKED);
        return 0;
    default:
        return DefWindowProcA(window, WM_COMMAND, wparam, lparam);
    }
}

LRESULT AdvancedDialog::handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        // The window field is not set yet; the owner is all this needs.
        EnableWindow(parent_, FALSE);
        return 0;
    case WM_PAINT:
        paint_nothing(window);
        return 0;
    case WM_DPICHANGED:
        apply_look(LOWORD(wparam), reinterpret_cast<const RECT*>(lparam));
        return 0;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
    case WM_SETTINGCHANGE:
        apply_look(dpi_, nullptr);
        return 0;
    case WM_CLOSE:
        dismiss(); // hidden, never destroyed: the next opening reuses it
        return 0;
    case WM_ACTIVATE:
        return focus_.on_activate(window, wparam, controls_.get(IDC_AUTH_METHOD));
    case DM_GETDEFID:
        return default_button_answer(default_button(window, IDC_ADV_OK));
    case WM_NEXTDLGCTL:
        move_dialog_focus(window, wparam, lparam);
        return 0;
    case WM_SHOWWINDOW:
        if (wparam != 0) {
            fill_controls();
            focus_.remember(controls_.get(IDC_AUTH_METHOD)); // each opening starts at the top
        }
        return wparam != 0 ? 0 : DefWindowProcA(window, message, wparam, lparam);
    case WM_COMMAND:
        return on_command(window, wparam, lparam);
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}
