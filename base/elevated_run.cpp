#include "base/elevated_run.h"

#include <cstring>

#include "base/com_apartment.h"
#include "base/message_box.h"
#include "base/owned_handle.h"
#include "base/system_function.h"
#include "res/resource.h"

namespace {

BOOL WINAPI shell_execute_loaded(SHELLEXECUTEINFOA* info) {
    // Loaded on the rare elevation, rather than by every start of the program.
    using Function = BOOL(WINAPI*)(SHELLEXECUTEINFOA*);
    static const Function function = system_function<Function>("shell32.dll", "ShellExecuteExA");
    if (function == nullptr) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return FALSE;
    }
    return function(info);
}

} // namespace

const ElevationCalls ElevationCalls::system = {shell_execute_loaded, WaitForSingleObject,
                                               GetExitCodeProcess, CloseHandle};

DWORD run_elevated(const char* arguments, HWND owner, const ElevationCalls& calls) {
    char program[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return length == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE;
    }
    // Shell handlers may be COM objects; the call waits for them before COM is let go.
    const ComApartment com;
    SHELLEXECUTEINFOA execute = {};
    execute.cbSize = sizeof execute;
    // The process, to wait for; the launch finished before the call returns, as this thread
    // has no message loop; no error box of the shell's, the caller tells. The consent prompt
    // itself still shows.
    execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    execute.hwnd = owner;
    execute.lpVerb = "runas";
    execute.lpFile = program;
    execute.lpParameters = arguments;
    execute.nShow = SW_SHOWNORMAL;
    if (!calls.shell_execute(&execute)) {
        return GetLastError();
    }
    // A launch handed to a running program gives no process: there is no run to wait for.
    if (execute.hProcess == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    const OwnedHandle process(execute.hProcess, calls.close);
    DWORD exit_code = 0;
    if (calls.wait(process.get(), INFINITE) != WAIT_OBJECT_0 ||
        !calls.exit_code(process.get(), &exit_code)) {
        return GetLastError();
    }
    return exit_code;
}

bool elevated_failure_text(ProgramAction action, DWORD exit_code, char* text,
                           std::size_t capacity) {
    if (capacity > 0) {
        std::memset(text, 0, capacity);
    }
    if (exit_code == ERROR_SUCCESS || exit_code == ERROR_CANCELLED) {
        return false;
    }
    const unsigned failure = action == ProgramAction::start  ? IDS_ERR_START_FAILED
                             : action == ProgramAction::stop ? IDS_ERR_STOP_FAILED
                                                             : IDS_ERR_WRITE_FAILED;
    compose_error_text(failure, exit_code, text, capacity);
    return true;
}
