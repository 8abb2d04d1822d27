// The main window run as a user runs it, with the stand-in client's service.
#include <windows.h>

#include <commctrl.h>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

#include "e2e/program_driver.h"
#include "res/resource.h"
#include "service/service_control.h"
#include "ui/window_object.h"
#include "win/demo_installation.h"

namespace {

constexpr DWORD follow_timeout_ms = 2000; // the display follows the service within two seconds

// The status line as a user sees it: the tooltip's text, the icon's colour by its strong
// channels ("R" red, "G" green, "RG" yellow), the buttons enabled.
std::string status_line(HWND window) {
    HWND tooltip = nullptr;
    for (HWND tip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); tip != nullptr;
         tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) {
        tooltip = GetWindow(tip, GW_OWNER) == window ? tip : tooltip;
    }
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE; // the size the program registers its tool with
    tool.hwnd = GetDlgItem(window, IDC_STATUS_ICON);
    RECT icon = {};
    GetWindowRect(tool.hwnd, &icon);
    const HDC screen = GetDC(nullptr);
    const COLORREF pixel =
        GetPixel(screen, (icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2);
    ReleaseDC(nullptr, screen);
    return remote_text(tooltip, TTM_GETTEXTA, remote_text_capacity, &tool, sizeof tool,
                       &tool.lpszText) +
           (GetRValue(pixel) > 150 ? "|R" : "|") + (GetGValue(pixel) > 150 ? "G" : "") +
           (IsWindowEnabled(GetDlgItem(window, IDC_START)) ? "|Start" : "|") +
           (IsWindowEnabled(GetDlgItem(window, IDC_STOP)) ? "|Stop" : "|");
}

} // namespace

TEST(MainWindow, PlaceTabsServiceStatesAndClosing) {
    const DemoInstallation demo; // the service itself is installed only later
    const ProgramDriver gui(ProgramDriver::Installation{"server=tunnel.example.net\n"});
    ASSERT_TRUE(gui.ready());
    const HWND window = gui.main_window();
    const HWND start = GetDlgItem(window, IDC_START), stop = GetDlgItem(window, IDC_STOP);
    EXPECT_EQ("RYX Client GUI", window_text(window));

    // Fixed size, centred on the screen.
    RECT placed = {}, screen = {};
    GetWindowRect(window, &placed);
    GetWindowRect(GetDesktopWindow(), &screen);
    const RECT centred = WindowObject::centred(646, 526, screen.right, screen.bottom);
    EXPECT_TRUE(EqualRect(&placed, &centred));
    EXPECT_EQ(0, GetWindowLongA(window, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));

    // Two tabs, Config in front with its page; the Logging page hidden and disabled.
    EXPECT_EQ(2, TabCtrl_GetItemCount(gui.tabs()));
    EXPECT_EQ(0, TabCtrl_GetCurSel(gui.tabs()));
    EXPECT_TRUE(IsWindowVisible(gui.config_page()));
    EXPECT_FALSE(IsWindowVisible(gui.logging_page()) || IsWindowEnabled(gui.logging_page()));

    // A second start shows nothing of its own: it brings this one back to the front and ends
    // with 0 within a second.
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(wait_until([window] { return IsIconic(window) != FALSE; }));
    DWORD exit_code = 99;
    EXPECT_TRUE(ProgramDriver(ryxgui_command()).wait_for_exit(1000, exit_code));
    EXPECT_EQ(0u, exit_code);
    EXPECT_TRUE(
        wait_until([window] { return !IsIconic(window) && GetForegroundWindow() == window; }));
    EXPECT_EQ(1u, visible_windows("DIZURO").size());

    // The status line follows the service: none yet; installed while the program runs, it shows
    // within two seconds; then started and stopped through every state it reports.
    const auto shows = [window](const std::string& wanted, DWORD timeout_ms = 10000) {
        return wait_for_text([window] { return status_line(window); }, wanted, timeout_ms);
    };
    const std::string none = "SERVICE IS NOT INSTALLED|||", halted = "SERVICE HALTED|R|Start|";
    const std::string starting = "SERVICE STARTING|RG||Stop", running = "SERVICE RUNNING|G||Stop";
    EXPECT_EQ(none, shows(none));
    ASSERT_TRUE(demo.install());
    EXPECT_EQ(halted, shows(halted, follow_timeout_ms));
    PostMessageA(start, BM_CLICK, 0, 0);
    EXPECT_EQ(starting, shows(starting));
    EXPECT_EQ(running, shows(running));

    // A Start that the manager refuses (the button is grey: its notification sent as it would
    // come) greys both buttons at once, polled for closely as the next report gives Stop back,
    // and says why in the system's words.
    ASSERT_TRUE(press_button(window, IDC_START));
    EXPECT_TRUE(
        wait_until([&] { return !IsWindowEnabled(start) && !IsWindowEnabled(stop); }, 10000, 1));
    char reason[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   ERROR_SERVICE_ALREADY_RUNNING, 0, reason, sizeof reason, nullptr);
    EXPECT_EQ("The RYX service could not be started.\n" +
                  std::string(reason, std::strcspn(reason, "\r\n")) + "|Error",
              gui.answer_box(IDOK));
    EXPECT_EQ(running, shows(running));
    PostMessageA(stop, BM_CLICK, 0, 0);
    EXPECT_EQ("SERVICE IS BEING STOPED|RG||", shows("SERVICE IS BEING STOPED|RG||"));
    EXPECT_EQ(halted, shows(halted));

    // Removed while the program polls, then installed again: followed both ways.
    ASSERT_TRUE(demo.uninstall());
    EXPECT_EQ(none, shows(none, follow_timeout_ms));
    ASSERT_TRUE(demo.install());
    EXPECT_EQ(halted, shows(halted, follow_timeout_ms));

    // Closing asks first, in a box of the window's own: No keeps the program (it asks again),
    // Yes ends it with 0 soon and leaves the service running.
    PostMessageA(start, BM_CLICK, 0, 0);
    ASSERT_EQ(running, shows(running));
    for (const int answer : {IDNO, IDYES}) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ("Are you sure you want to quit?|Quit", gui.answer_box(answer));
    }
    exit_code = 99;
    ASSERT_TRUE(gui.wait_for_exit(500, exit_code));
    EXPECT_EQ(0u, exit_code);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), ServiceControl("ryx").query_state());

    // Two starts at once, neither with a window yet: one shows its window, the other ends with 0.
    const ProgramDriver one(ryxgui_command()), other(ryxgui_command());
    exit_code = 99;
    EXPECT_TRUE(wait_until(
        [&] { return one.wait_for_exit(0, exit_code) || other.wait_for_exit(0, exit_code); }));
    EXPECT_EQ(0u, exit_code);
    EXPECT_EQ(1u, visible_windows("DIZURO").size());
}

// Run by french_interface.sh, which starts the program itself under a French (France)
// interface language: under Wine a process takes its language from the shell that starts it.
TEST(FrenchInterface, CloseBoxCaptionIsQuitter) {
    if (GetEnvironmentVariableA("RYX_FRENCH_PROGRAM_RUNNING", nullptr, 0) == 0) {
        GTEST_SKIP() << "needs the program started in French by french_interface.sh";
    }
    std::vector<HWND> found;
    ASSERT_TRUE(wait_until([&] { return !(found = visible_windows("DIZURO")).empty(); }, 20000));
    PostMessageA(found.front(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(wait_until([&] { return !(found = visible_windows("#32770")).empty(); }));
    EXPECT_EQ("Quitter", window_text(found.front()));
    EXPECT_TRUE(press_button(found.front(), IDYES));
}
