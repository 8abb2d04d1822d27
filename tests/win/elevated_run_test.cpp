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

const HANDLE run = reinterpret_cast<HANDLE>(0x4321);

struct FakeShell {
    DWORD launch_error = 0, wait_error = 0, exit_code = 0; // 0: the launch and the wait succeed
    SHELLEXECUTEINFOA asked = {};
    std::string verb = {}, file = {}, parameters = {}; // what asked points to, kept
    bool waited = false;
    int open = 0; // processes handed over and not closed
} fake;

const ElevationCalls fake_calls = {
    [](SHELLEXECUTEINFOA* info) -> BOOL {
        fake.asked = *info;
        fake.verb = info->lpVerb;
        fake.file = info->lpFile;
        fake.parameters = info->lpParameters;
        SetLastError(fake.launch_error);
        if (fake.launch_error != 0) {
            return FALSE;
        }
        info->hProcess = run;
        ++fake.open;
        return TRUE;
    },
    [](HANDLE process, DWORD) -> DWORD {
        EXPECT_EQ(run, process);
        fake.waited = true;
        SetLastError(fake.wait_error);
        return fake.wait_error == 0 ? WAIT_OBJECT_0 : WAIT_FAILED;
    },
    [](HANDLE, LPDWORD code) -> BOOL {
        *code = fake.exit_code;
        return TRUE;
    },
    [](HANDLE process) -> BOOL {
        EXPECT_EQ(run, process);
        --fake.open;
        SetLastError(ERROR_SUCCESS);
        return TRUE;
    },
};

} // namespace

TEST(ElevatedRun, LaunchesItselfWithTheConsentPromptAndWaitsForTheExitCode) {
    // clang-format off
    const struct {
        const char* decision;
        DWORD launch_error, wait_error, exit_code;
        DWORD result;
        bool waited;
    } cases[] = {
        {"done",                    0,                     0,                    0,  0,                     true},
        {"the run's own failure",   0,                     0,                    5,  5,                     true},
        {"declined by the user",    ERROR_CANCELLED,       0,                    0,  ERROR_CANCELLED,       false},
        {"not launched",            ERROR_FILE_NOT_FOUND,  0,                    0,  ERROR_FILE_NOT_FOUND,  false},
        {"not waited for",          0,                     ERROR_INVALID_HANDLE, 0,  ERROR_INVALID_HANDLE,  true},
    };
    // clang-format on
    char own[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, own, MAX_PATH);
    const HWND owner = GetDesktopWindow();
    for (const auto& row : cases) {
        SCOPED_TRACE(row.decision);
        fake = FakeShell{row.launch_error, row.wait_error, row.exit_code};
        EXPECT_EQ(row.result, run_elevated("--write-config \"C:\\a b\\c\"", owner, fake_calls));
        EXPECT_EQ(row.waited, fake.waited);
        EXPECT_EQ(0, fake.open);
        // This very program, elevated, in front of the window, waited for, never the shell's
        // own error box.
        EXPECT_EQ("runas|" + std::string(own) + "|--write-config \"C:\\a b\\c\"",
                  fake.verb + "|" + fake.file + "|" + fake.parameters);
        EXPECT_EQ(owner, fake.asked.hwnd);
        EXPECT_EQ(
            static_cast<ULONG>(SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI),
            fake.asked.fMask);
    }
}

// The action's failure, the system's words on the line below, and for refused rights what
// would help; a declined prompt the user saw, and says nothing more.
TEST(ElevatedRun, ABoxForEachFailureButNoneForSuccessOrADeclinedPrompt) {
    const struct {
        ProgramAction action;
        DWORD exit_code;
        unsigned text_id, help_id; // 0: no box, no help
    } cases[] = {
        {ProgramAction::start, ERROR_SUCCESS, 0, 0},
        {ProgramAction::write_config, ERROR_CANCELLED, 0, 0},
        {ProgramAction::start, ERROR_SERVICE_ALREADY_RUNNING, IDS_ERR_START_FAILED, 0},
        {ProgramAction::stop, ERROR_ACCESS_DENIED, IDS_ERR_STOP_FAILED, IDS_ERR_NEEDS_ADMIN},
        {ProgramAction::write_config, ERROR_INVALID_DATA, IDS_ERR_WRITE_FAILED, 0},
        {ProgramAction::write_config, ERROR_ACCESS_DENIED, IDS_ERR_WRITE_FAILED,
         IDS_ERR_WRITE_NEEDS_ADMIN},
    };
    for (const auto& c : cases) {
        char text[1024];
        EXPECT_EQ(c.text_id != 0, elevated_failure_text(c.action, c.exit_code, text, sizeof text));
        const std::string help =
            c.help_id != 0 ? "\n" + std::string(LoadedString(c.help_id).c_str()) : "";
        EXPECT_EQ(c.text_id == 0
                      ? ""
                      : LoadedString(c.text_id).c_str() + ("\n" + system_text(c.exit_code)) + help,
                  text)
            << c.exit_code;
    }
}
