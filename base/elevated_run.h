// This very program run again with administrative rights, for an action its user may not do
// (Windows asks the user's consent first), and the box that tells how it went. The run is
// waited for: call it on a worker thread, so that the window goes on answering.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <cstddef>

#include "base/program_action.h"

// The calls of a launch, in one table so that a test can stand in for the consent prompt and
// the elevated run, which Wine cannot show.
struct ElevationCalls {
    BOOL(WINAPI* shell_execute)(SHELLEXECUTEINFOA* info);
    DWORD(WINAPI* wait)(HANDLE process, DWORD milliseconds);
    BOOL(WINAPI* exit_code)(HANDLE process, LPDWORD code);
    BOOL(WINAPI* close)(HANDLE handle);

    // The system's own; the shell's DLL loaded on first use.
    static const ElevationCalls system;
};

// Runs the program's own file elevated with these arguments (action_command_line), the consent
// prompt in front of owner, and waits for the run to end. Its exit code, or the system's error
// code when it could not be started: ERROR_CANCELLED (1223) when the user declined.
DWORD run_elevated(const char* arguments, HWND owner,
                   const ElevationCalls& calls = ElevationCalls::system);

// The text of the box for an elevated run of the action that ended with exit_code; false,
// with text empty, when there is nothing to tell: done, or declined by the user, who knows.
// Otherwise the action's failure ("could not be started", "stopped", "written") with the
// system's words for the code and, where rights were refused, what would help.
bool elevated_failure_text(ProgramAction action, DWORD exit_code, char* text, std::size_t capacity);
