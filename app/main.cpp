// The program's entry point. Its one argument, "--tray", starts it in the notification area.
#include <windows.h>

#include "app/program.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
    return run_program(instance, command_line);
}
