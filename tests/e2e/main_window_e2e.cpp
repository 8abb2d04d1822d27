// The main window run as a user runs it, with the stand-in client's service.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>

#include "e2e/program_driver.h"
#include "res/resource.h"
#include "service/service_control.h"
#include "ui/window_object.h"
#include "win/demo_installation.h"

namespace {

constexpr DWORD follow_timeout_ms = 2000; // the display follows the service within two seconds
constexpr DWORD exit_timeout_ms = 500;    // the process is gone soon after Yes

std::string colour_at(HWND control) {
    RECT area = {};
    GetWindowRect(control, &area);
    const HDC screen = GetDC(nullptr);
    const COLORREF pixel =
        GetPixel(screen, (area.left + area.right) / 2, (area.top + area.bottom) / 2);
    ReleaseDC(nullptr, screen);
    const int r = GetRValue(pixel), g = GetGValue(pixel), b = GetBValue(pixel);
    return r > 150 && g < 110 && b < 110   ? "red"
           : g > 120 && r < 110 && b < 110 ? "green"
           : r > 170 && g > 150 && b < 110 ? "yellow"
                                           : "other";
}

std::string tab_text(HWND tabs, int index) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.cchTextMax = remote_text_capacity;
    return remote_text(tabs, TCM_GETITEMA, index, &item, sizeof item, &item.pszText);
}

// The status line as a user sees it: the tooltip's text, the icon's colour, the enabled buttons.
std::string status_line(HWND window) {
    HWND tooltip = nullptr;
    for (HWND tip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); tip != nullptr;
         tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) {
        tooltip = GetWindow(tip, GW_OWNER) == window ? tip : tooltip;
    }
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE; // the size the program registers its tool with
    tool.hwnd = GetDlgItem(window, IDC_STATUS_ICON);
    return remote_text(tooltip, TTM_GETTEXTA, remote_text_capacity, &tool, sizeof tool,
                       &tool.lpszText) +
           "|" + colour_at(tool.hwnd) +
           (IsWindowEnabled(GetDlgItem(window, IDC_START)) ? "|Start" : "|") +
           (IsWindowEnabled(GetDlgItem(window, IDC_STOP)) ? "|Stop" : "|");
}

// Polls until the status line reads as wanted.
::testing::AssertionResult shows(HWND window, const std::string& wanted, DWORD timeout_ms = 10000) {
    std::string seen;
    if (wait_until([&] { return (seen = status_line(window)) == wanted; }, timeout_ms)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the status line reads \"" << seen << "\"";
}

// The system's own words for an error code.
std::string system_text(DWORD error) {
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                   text, sizeof text, nullptr);
    std::string trimmed = text;
    return trimmed.erase(trimmed.find_last_not_of("\r\n ") + 1);
}

const std::string not_installed = "SERVICE IS NOT INSTALLED|other||";
const std::string halted = "SERVICE HALTED|red|Start|";
const std::string running = "SERVICE RUNNING|green||Stop";

// The close box, owned by the main window, with its question and caption.
HWND close_box(const ProgramDriver& gui) {
    PostMessageA(gui.main_window(), WM_CLOSE, 0, 0);
    const HWND box = gui.wait_for_box();
    EXPECT_EQ("Are you sure you want to quit?", message_box_text(box));
    EXPECT_EQ("Quit", window_text(box));
    return box;
}

// Visible main windows of every program running, whoever started it.
int main_windows() {
    int count = 0;
    for (HWND window = FindWindowExA(nullptr, nullptr, "DIZURO", nullptr); window != nullptr;
         window = FindWindowExA(nullptr, window, "DIZURO", nullptr)) {
        count += IsWindowVisible(window) ? 1 : 0;
    }
    return count;
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
    EXPECT_TRUE(EqualRect(&placed, &centred))
        << placed.left << "," << placed.top << " to " << placed.right << "," << placed.bottom;
    EXPECT_EQ(0, GetWindowLongA(window, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));

    // Two tabs, Config in front with its page; the Logging page hidden and disabled.
    EXPECT_EQ("Config|Logging|", tab_text(gui.tabs(), 0) + "|" + tab_text(gui.tabs(), 1) + "|" +
                                     tab_text(gui.tabs(), 2)); // no third
    EXPECT_EQ(0, gui.selected_tab());
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
    EXPECT_EQ(1, main_windows());

    // No service yet; installed while the program runs, it shows within two seconds.
    EXPECT_TRUE(shows(window, not_installed));
    ASSERT_TRUE(demo.install());
    EXPECT_TRUE(shows(window, halted, follow_timeout_ms));

    // A refused Start (its program gone) greys both buttons at once (polled for closely: the
    // next report gives Start back) and says why, in the system's words.
    const std::string client = demo.file("ryxc-demo.exe");
    ASSERT_TRUE(MoveFileA(client.c_str(), (client + ".away").c_str()));
    PostMessageA(start, BM_CLICK, 0, 0);
    EXPECT_TRUE(
        wait_until([&] { return !IsWindowEnabled(start) && !IsWindowEnabled(stop); }, 10000, 1));
    const HWND refused = gui.wait_for_box();
    EXPECT_EQ("The RYX service could not be started.\n" + system_text(ERROR_FILE_NOT_FOUND),
              message_box_text(refused));
    EXPECT_TRUE(dismiss(refused));
    EXPECT_TRUE(shows(window, halted, follow_timeout_ms));
    ASSERT_TRUE(MoveFileA((client + ".away").c_str(), client.c_str()));

    // Start, then Stop, through every state the stand-in service reports.
    PostMessageA(start, BM_CLICK, 0, 0);
    EXPECT_TRUE(shows(window, "SERVICE STARTING|yellow||Stop"));
    EXPECT_TRUE(shows(window, running));
    PostMessageA(stop, BM_CLICK, 0, 0);
    EXPECT_TRUE(shows(window, "SERVICE IS BEING STOPED|yellow||"));
    EXPECT_TRUE(shows(window, halted));

    // Removed while the program polls, then installed again: followed both ways.
    ASSERT_TRUE(demo.uninstall());
    EXPECT_TRUE(shows(window, not_installed, follow_timeout_ms));
    ASSERT_TRUE(demo.install());
    EXPECT_TRUE(shows(window, halted, follow_timeout_ms));

    // Closing asks first: No keeps the program (it asks again), Yes ends it with 0 and leaves
    // the service running.
    PostMessageA(start, BM_CLICK, 0, 0);
    ASSERT_TRUE(shows(window, running));
    HWND box = close_box(gui);
    ASSERT_TRUE(press_button(box, IDNO));
    ASSERT_TRUE(wait_until([box] { return !IsWindow(box); }));
    box = close_box(gui);
    ASSERT_TRUE(press_button(box, IDYES));
    exit_code = 99;
    ASSERT_TRUE(gui.wait_for_exit(exit_timeout_ms, exit_code));
    EXPECT_EQ(0u, exit_code);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), ServiceControl("ryx").query_state());

    // Two starts at once, neither with a window yet: one shows its window, the other ends with 0.
    const ProgramDriver one(ryxgui_command()), other(ryxgui_command());
    exit_code = 99;
    EXPECT_TRUE(wait_until(
        [&] { return one.wait_for_exit(0, exit_code) || other.wait_for_exit(0, exit_code); }));
    EXPECT_EQ(0u, exit_code);
    EXPECT_EQ(1, main_windows());
}

// Run by french_interface.sh, which starts the program itself under a French (France)
// interface language: under Wine a process takes its language from the shell that starts it.
TEST(FrenchInterface, CloseBoxCaptionIsQuitter) {
    if (GetEnvironmentVariableA("RYX_FRENCH_PROGRAM_RUNNING", nullptr, 0) == 0) {
        GTEST_SKIP() << "needs the program started in French by french_interface.sh";
    }
    HWND window = nullptr, box = nullptr;
    ASSERT_TRUE(
        wait_until([&] { return (window = FindWindowA("DIZURO", nullptr)) != nullptr; }, 20000));
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(wait_until([&] {
        box = FindWindowA("#32770", nullptr);
        return box != nullptr && GetWindow(box, GW_OWNER) == window;
    }));
    EXPECT_EQ("Quitter", window_text(box));
    EXPECT_TRUE(press_button(box, IDYES));
}
