// The elevated run through the table of its calls, where a stand-in takes the consent prompt's
// and the run's part, which Wine cannot show; and the box each outcome leads to.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/elevated_run.h"
#include "base/loaded_string.h"
#include "e2e/program_driver.h"
#include "res/resource.h"

namespace {

DWORD launch_error = 0, exit_code = 0;
std::string launched; // verb|file|parameters|owner|mask

const ElevationCalls fake_calls = {
    [](SHELLEXECUTEINFOA* info) -> BOOL {
        launched = std::string(info->lpVerb) + "|" + info->lpFile + "|" + info->lpParameters + "|" +
                   std::to_string(info->hwnd == GetDesktopWindow()) + "|" +
                   std::to_string(info->fMask);
        info->hProcess = launch_error == 0 ? reinterpret_cast<HANDLE>(0x4321) : nullptr;
        SetLastError(launch_error);
        return launch_error == 0;
    },
    [](HANDLE, DWORD) -> DWORD { return WAIT_OBJECT_0; },
    [](HANDLE, LPDWORD code) -> BOOL {
        *code = exit_code;
        return TRUE;
    },
    [](HANDLE) -> BOOL { return TRUE; },
};

// The failure's line, the system's words below it, and the help line if any; "" for no box.
std::string box(unsigned text_id, DWORD code, unsigned help_id = 0) {
    return LoadedString(text_id).c_str() + ("\n" + system_text(code)) +
           (help_id != 0 ? "\n" + std::string(LoadedString(help_id).c_str()) : "");
}

std::string failure_text(ProgramAction action, DWORD code) {
    char text[1024] = "untouched";
    const bool told = elevated_failure_text(action, code, text, sizeof text);
    EXPECT_EQ(told, text[0] != '\0');
    return text;
}

} // namespace

TEST(ElevatedRun, LaunchesItselfWithTheConsentPromptAndTellsTheOutcome) {
    // clang-format off
    const struct {
        const char* decision;
        DWORD launch_error, exit_code, result;
    } cases[] = {
        {"done",                  0,                    0,                  0},
        {"declined by the user",  ERROR_CANCELLED,      0,                  ERROR_CANCELLED},
        {"the run's own failure", 0,                    ERROR_INVALID_DATA, ERROR_INVALID_DATA},
        {"not launched",          ERROR_FILE_NOT_FOUND, 0,                  ERROR_FILE_NOT_FOUND},
    };
    // clang-format on
    char own[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, own, MAX_PATH);
    for (const auto& row : cases) {
        SCOPED_TRACE(row.decision);
        launch_error = row.launch_error;
        exit_code = row.exit_code;
        const DWORD result =
            run_elevated("--write-config \"C:\\a b\\c\"", GetDesktopWindow(), fake_calls);
        EXPECT_EQ(row.result, result);
        // This very program, elevated, in front of the window, waited for, never the shell's
        // own error box.
        EXPECT_EQ(
            "runas|" + std::string(own) + "|--write-config \"C:\\a b\\c\"|1|" +
                std::to_string(SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI),
            launched);
    }
}

// Each action's failure in its own words; for refused rights, what would help; none for a
// done run or a prompt the user declined.
TEST(ElevatedRun, EachActionsBoxAndItsHelpForRefusedRights) {
    EXPECT_EQ("", failure_text(ProgramAction::write_config, ERROR_SUCCESS));
    EXPECT_EQ("", failure_text(ProgramAction::write_config, ERROR_CANCELLED));
    EXPECT_EQ(box(IDS_ERR_START_FAILED, ERROR_SERVICE_ALREADY_RUNNING),
              failure_text(ProgramAction::start, ERROR_SERVICE_ALREADY_RUNNING));
    EXPECT_EQ(box(IDS_ERR_STOP_FAILED, ERROR_ACCESS_DENIED, IDS_ERR_NEEDS_ADMIN),
              failure_text(ProgramAction::stop, ERROR_ACCESS_DENIED));
    EXPECT_EQ(box(IDS_ERR_WRITE_FAILED, ERROR_ACCESS_DENIED, IDS_ERR_WRITE_NEEDS_ADMIN),
              failure_text(ProgramAction::write_config, ERROR_ACCESS_DENIED));
}
