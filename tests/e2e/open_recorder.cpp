// Stands in for the system's program for text files in the end-to-end tests: records the path
// it was asked to open (its second argument) in the file named by its first.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    FILE* record = __argc == 3 ? std::fopen(__argv[1], "wb") : nullptr;
    if (record == nullptr) {
        return 1;
    }
    std::fputs(__argv[2], record);
    return std::fclose(record) == 0 ? 0 : 1;
}
