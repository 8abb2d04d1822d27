// The Advanced settings window: the working record's settings that the Config page does not
// show, and the child-control helpers that both configuration windows are built with.
#pragma once

#include <windows.h>

#include <cstddef>
#include <initializer_list>

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

// A child control whose text, when text_id is not 0, is a string-table entry; a text limit
// other than 0 is set on it right after creation.
HWND create_child_control(HWND parent, HINSTANCE instance, const char* class_name, int id,
                          unsigned text_id, DWORD style, int x, int y, int width, int height,
                          std::size_t text_limit = 0);

// Sets a plain check box and enables or disables the controls that depend on it.
void show_check(HWND box, bool checked, std::initializer_list<HWND> dependents, bool enabled);

// An edit's text, at most max_characters of it, into a zeroed buffer.
void read_edit(HWND edit, char* buffer, std::size_t capacity, std::size_t max_characters);
