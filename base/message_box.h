// The program's message boxes: a string-table text, the system's default caption.
#pragma once

#include <windows.h>

#include <cstddef>

// Shows text number text_id with the given MB_ flags; the button the user chose.
int show_message_box(HWND owner, unsigned text_id, UINT flags);

// The same, with the system's own words for a failure's error code on the next line.
int show_message_box(HWND owner, unsigned text_id, DWORD error, UINT flags);

// That box's text: the string-table text, the system's words for the error on the lines
// below and, where rights are missing, what would help: for a failed Start or Stop
// (IDS_ERR_START_FAILED, IDS_ERR_STOP_FAILED) that the service needs administrative rights,
// for a failed write (IDS_ERR_WRITE_FAILED) that saving the configuration does.
void compose_error_text(unsigned text_id, DWORD error, char* text, std::size_t capacity);
