// The program from its start to its end: the session's claim, start-up, the main window and
// the one message loop. The entry point's whole body.
#pragma once

#include <windows.h>

// The exit code: 0 after the main window was closed (or another start was brought forward),
// 1 when there is no installation or no window could be made. The command line is the
// program's arguments: "--tray" starts it in the notification area only.
int run_program(HINSTANCE instance, const char* command_line = "");
