// The program's entry point. Its arguments name an action to run without any window, or, as
// "--tray", start it in the notification area only.
#include <windows.h>

#include "app/program.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
    return run_program(instance, command_line);
}
