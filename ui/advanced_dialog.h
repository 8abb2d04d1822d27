// The Advanced settings window: the working record's settings that the Config page does not
// show.
#pragma once

#include <windows.h>

#include "ui/window_object.h"

class AdvancedDialog : public WindowObject {
public:
    // The owner is passed on as the parent of the top-level window.
    AdvancedDialog(const char* class_name, const char* title, DWORD style, const RECT* rectangle,
                   HINSTANCE instance, HWND owner, UINT_PTR identifier);

    // Makes the window (which disables its owner) and its controls, hidden.
    bool create();
    LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;

    // The owner is enabled before this window hides, so that it can take the activation.
    void dismiss();

private:
    void fill_controls();
    void store_controls();
    void show_keepalive(bool on);
    void show_prefix_request(bool on);

    HWND cancel_button_ = nullptr;
    HWND ok_button_ = nullptr;
    HWND auth_method_label_ = nullptr;
    HWND tunnel_mode_label_ = nullptr;
    HWND client_address_label_ = nullptr;
    HWND auth_method_list_ = nullptr;
    HWND tunnel_mode_list_ = nullptr;
    HWND client_address_edit_ = nullptr;
    HWND keepalive_box_ = nullptr;
    HWND keepalive_interval_label_ = nullptr;
    HWND keepalive_interval_edit_ = nullptr;
    HWND request_prefix_box_ = nullptr;
    HWND prefix_group_ = nullptr;
    HWND prefix_length_edit_ = nullptr;
    HWND prefix_interface_edit_ = nullptr;
    HWND dns_server_edit_ = nullptr;
    HWND prefix_length_label_ = nullptr;
    HWND prefix_interface_label_ = nullptr;
    HWND dns_server_label_ = nullptr;
};
