// Helpers for the child controls that every window of the program is built from.
#pragma once

#include <windows.h>

#include <cstddef>
#include <initializer_list>

// Sets a plain check box and enables or disables the controls that depend on it.
void show_check(HWND box, bool checked, std::initializer_list<HWND> dependents, bool enabled);

// An edit's text, at most max_characters of it, into a zeroed buffer.
void read_edit(HWND edit, char* buffer, std::size_t capacity, std::size_t max_characters);

// The answer to WM_PAINT of a window that draws nothing itself.
void paint_nothing(HWND window);

// A window laid out anew painted whole, its frame and every child within, in one go: a part
// painted alone can cover a transparent page whose labels were painted before it.
void redraw_whole(HWND window);

// The id of the push button the focus is on, which Enter then presses as a dialog would; else
// the window's default button's, fallback (0 for none).
int default_button(HWND window, int fallback);

// The answer to DM_GETDEFID for that button: its id with DC_HASDEFID, or 0.
LRESULT default_button_answer(int id);

// WM_NEXTDLGCTL, which the dialog keys send to the window itself (an access key on a label
// moves on to the control after it), handled as a dialog handles it: the focus to the given
// control, or to the next or previous one, whose text an edit then shows selected.
void move_dialog_focus(HWND window, WPARAM which, LPARAM is_control);
