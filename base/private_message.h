// The program's own window messages, which its threads post to the main window, and the key
// that tells them from the same numbers sent by another process: every one carries a value
// chosen at random when the program starts, and none carries anything to dereference.
#pragma once

#include <windows.h>

namespace private_message {

constexpr UINT service_state = WM_APP + 1;        // wParam: the service's state, 0 when none known
constexpr UINT log_rows = WM_APP + 2;             // new rows wait in the log's mailbox
constexpr UINT config_unreadable = WM_APP + 3;    // start-up could not read the configuration
constexpr UINT service_command_done = WM_APP + 4; // wParam: the command's error, 0 when taken
// wParam: which commands need an elevated run of the program, service_rights_* bits.
constexpr UINT service_rights = WM_APP + 5;
constexpr UINT config_write_done = WM_APP + 6; // wParam: the elevated write's exit code
constexpr UINT log_save_progress = WM_APP + 7; // wParam: how far the copy of the log is, in %
constexpr UINT log_save_done = WM_APP + 8;     // wParam: the copy's outcome (see copy_log)

constexpr UINT first = service_state;
constexpr UINT last = log_save_done;

constexpr WPARAM start_needs_elevation = 1;
constexpr WPARAM stop_needs_elevation = 2;

} // namespace private_message

// Posts message with value; false when the window is gone (or its queue is full).
bool post_private_message(HWND window, UINT message, WPARAM value = 0);

// Whether a message of the program's own numbers came from this process: its lParam holds the
// key. Any other is to be ignored.
bool carries_private_key(LPARAM lparam);
