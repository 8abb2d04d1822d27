// The program's entry point.
#include <windows.h>

#include "app/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    initialise();
    app_instance = instance;
    return 0;
}
