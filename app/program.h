// The program from its start to its end: the session's claim, start-up, the main window and
// the one message loop, or an action named on its command line. The entry point's whole body.
#pragma once

#include <windows.h>

// command_line: what follows the program's name. The exit code: 0 after the main window was
// closed (or another start was brought forward), 1 when there is no installation or no window
// could be made; for an action, the one run_action gives. "--tray" starts the program in the
// notification area only.
int run_program(HINSTANCE instance, const char* command_line = "");
