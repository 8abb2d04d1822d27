// Start-up's part that Windows decides: the installation found through the registry value as
// installers leave it, and the program started without one.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "app/main_window.h"
#include "app/program.h"
#include "app/session_claim.h"
#include "app/startup.h"
#include "e2e/program_driver.h"
#include "win/registry_fixture.h"

namespace {

constexpr DWORD no_key = 0xFFFF;      // not a registry type
using namespace std::string_literals; // "...\0"s: a value with its terminator

// As a desktop out of room would: no main window can be made on this thread.
LRESULT CALLBACK refuse_main_window(int code, WPARAM wparam, LPARAM lparam) {
    const auto* creation = reinterpret_cast<const CBT_CREATEWNDA*>(lparam);
    if (code == HCBT_CREATEWND && HIWORD(creation->lpcs->lpszClass) != 0 &&
        lstrcmpA(creation->lpcs->lpszClass, MainWindow::window_class) == 0) {
        return 1;
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

} // namespace

TEST(InstallationPaths, ComposedFromTheRegistryValueOrNoInstallationAtAll) {
    const RegistryFixture registry;
    const struct {
        DWORD type;
        std::string bytes;
        std::string dir; // empty: no installation
    } cases[] = {
        {REG_SZ, "D:\\Tunnel\\\0"s, "D:\\Tunnel\\"}, // the separator doubled, not merged
        {REG_SZ, "RYX Client\0"s, ""}, // relative: wherever the program was started from
        {REG_SZ, "D:\\" + std::string(240, 'd') + '\0', ""}, // too long for "ryxc.conf.default"
        {no_key, "", ""},
        {REG_DWORD, "\x05\0\0\0"s, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        RegistryFixture::remove_key();
        if (c.type != no_key) {
            ASSERT_TRUE(RegistryFixture::set_raw_value(c.type, c.bytes.data(),
                                                       static_cast<DWORD>(c.bytes.size())));
        }
        char error_text[4096]; // its text is the box's, seen when the program starts below
        Session session;
        EXPECT_EQ(!c.dir.empty(),
                  resolve_installation_paths(session, error_text, sizeof error_text));
        EXPECT_EQ(c.dir, session.install_dir);
        // The longest file name, which a long directory leaves no room for; the others are
        // composed the same way and used by the end-to-end tests.
        EXPECT_EQ(c.dir.empty() ? "" : c.dir + "\\ryxc.conf.default",
                  session.default_config_file_path);
    }
}

// The box has no owner and the system's default caption; no window comes before it.
TEST(Startup, WithoutInstallationShowsOnlyTheErrorBoxAndExitsWithOne) {
    const RegistryFixture registry;
    const ProgramDriver gui(ryxgui_command());
    ASSERT_NE(nullptr, gui.wait_for_box(20000));
    EXPECT_TRUE(visible_windows("DIZURO").empty());
    EXPECT_EQ("Error: No valid RYX Client installed.\n|Error", gui.answer_box(IDOK));
    EXPECT_EQ(1u, gui.exit_code(500)); // gone soon after OK
}

// Told in a box of its own, with the session's claim let go first: a start meanwhile runs as
// the session's program instead of waiting for this one's window.
TEST(Startup, AMainWindowThatCannotBeMadeIsToldAndEndsWithOne) {
    const RegistryFixture registry;
    const TempDir install;
    RegistryFixture::set_install_dir(install.path());
    const HHOOK hook = SetWindowsHookExA(WH_CBT, refuse_main_window, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    std::string told;
    bool claim_free = false;
    std::thread answer([&] {
        std::vector<HWND> boxes;
        wait_until([&] {
            return !(boxes = visible_windows("#32770", nullptr, GetCurrentProcessId())).empty();
        });
        const HWND box = boxes.empty() ? nullptr : boxes.front();
        told = window_text(GetDlgItem(box, 0xFFFF));
        const HANDLE claim = CreateMutexA(nullptr, FALSE, SessionClaim::name);
        claim_free = GetLastError() != ERROR_ALREADY_EXISTS;
        CloseHandle(claim);
        press_button(box, IDOK);
    });
    EXPECT_EQ(1, run_program(GetModuleHandleA(nullptr), ""));
    answer.join();
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(0u, told.find("Error: The program's window could not be created.")) << told;
    EXPECT_TRUE(claim_free);
}
