#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>

#include "e2e/gui_session.h"
#include "e2e/program_driver.h"
#include "e2e/remote_memory.h"
#include "res/resource.h"
#include "service/service_control.h"
#include "support/temp_dir.h"
#include "win/demo_installation.h"
#include "win/registry_fixture.h"

namespace {

constexpr DWORD start_timeout_ms = 20000;
constexpr DWORD state_timeout_ms = 10000;
constexpr DWORD follow_timeout_ms = 2000; // the display follows the service within two seconds

enum class Colour { red, green, yellow, other };

Colour colour_at(HWND control) {
    RECT area = {};
    GetWindowRect(control, &area);
    const HDC screen = GetDC(nullptr);
    const COLORREF pixel =
        GetPixel(screen, (area.left + area.right) / 2, (area.top + area.bottom) / 2);
    ReleaseDC(nullptr, screen);
    const int r = GetRValue(pixel), g = GetGValue(pixel), b = GetBValue(pixel);
    if (r > 150 && g < 110 && b < 110) {
        return Colour::red;
    }
    if (g > 120 && r < 110 && b < 110) {
        return Colour::green;
    }
    if (r > 170 && g > 150 && b < 110) {
        return Colour::yellow;
    }
    return Colour::other;
}

// What the status line shows: tooltip text, icon colour, Start and Stop enabled.
struct StatusLine {
    std::string text;
    Colour colour;
    bool start;
    bool stop;
};

// The running program's main window and the controls the tests read.
class MainWindowView {
public:
    explicit MainWindowView(HWND window)
        : window(window), start(GetDlgItem(window, IDC_START)), stop(GetDlgItem(window, IDC_STOP)),
          status_icon(GetDlgItem(window, IDC_STATUS_ICON)),
          tabs(FindWindowExA(window, nullptr, WC_TABCONTROLA, nullptr)) {
        DWORD process_id = 0;
        GetWindowThreadProcessId(window, &process_id);
        for (HWND candidate = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr);
             candidate != nullptr;
             candidate = FindWindowExA(nullptr, candidate, TOOLTIPS_CLASSA, nullptr)) {
            if (GetWindow(candidate, GW_OWNER) == window) {
                tooltip = candidate;
            }
        }
    }

    StatusLine status() const {
        return {tooltip_text(tooltip, status_icon, 0), colour_at(status_icon),
                IsWindowEnabled(start) != FALSE, IsWindowEnabled(stop) != FALSE};
    }

    // Polls until the tooltip shows text; the line as it was then.
    StatusLine wait_for_status(const std::string& text, DWORD timeout_ms) const {
        const ULONGLONG deadline = GetTickCount64() + timeout_ms;
        StatusLine line = status();
        while (line.text != text && GetTickCount64() < deadline) {
            Sleep(20);
            line = status();
        }
        // The icon is drawn just after the text changes.
        Sleep(100);
        return status();
    }

    HWND window;
    HWND start;
    HWND stop;
    HWND status_icon;
    HWND tabs;
    HWND tooltip = nullptr;
};

void expect_line(const StatusLine& line, const char* text, Colour colour, bool start, bool stop) {
    EXPECT_EQ(text, line.text);
    EXPECT_EQ(colour, line.colour) << text;
    EXPECT_EQ(start, line.start) << text;
    EXPECT_EQ(stop, line.stop) << text;
}

RECT client_rect_of(HWND child) {
    RECT area = {};
    GetWindowRect(child, &area);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&area), 2);
    return area;
}

void expect_placed(HWND child, int x, int y, int width, int height) {
    const RECT area = client_rect_of(child);
    EXPECT_EQ(x, area.left);
    EXPECT_EQ(y, area.top);
    EXPECT_EQ(width, area.right - area.left);
    EXPECT_EQ(height, area.bottom - area.top);
}

std::string program() {
    return "\"" + executable_directory() + "\\ryxgui.exe\"";
}

} // namespace

TEST(MainWindow, LayoutServiceStatesAndClosing) {
    const DemoInstallation demo;
    const TempDir early; // an installation whose service is not there yet
    ASSERT_TRUE(RegistryFixture::set_install_dir(early.path()));

    const ProgramDriver gui(program());
    const HWND window = gui.wait_for_window("DIZURO", "RYX Client GUI", start_timeout_ms);
    ASSERT_NE(nullptr, window);
    const MainWindowView view(window);

    // Fixed size, centred on the 1024 x 768 screen, no sizing or minimise boxes.
    RECT placed = {};
    GetWindowRect(window, &placed);
    EXPECT_EQ(189, placed.left);
    EXPECT_EQ(121, placed.top);
    EXPECT_EQ(646, placed.right - placed.left);
    EXPECT_EQ(526, placed.bottom - placed.top);
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(WS_CAPTION | WS_SYSMENU,
              style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_EQ(WS_EX_CONTEXTHELP | WS_EX_CLIENTEDGE,
              GetWindowLongA(window, GWL_EXSTYLE) & (WS_EX_CONTEXTHELP | WS_EX_CLIENTEDGE));

    // The status line, the buttons and the tab control with its two pages.
    EXPECT_EQ("Start", window_text(view.start));
    EXPECT_EQ("Stop", window_text(view.stop));
    expect_placed(view.start, 554, 460, 73, 23);
    expect_placed(view.stop, 471, 460, 73, 23);
    expect_placed(view.status_icon, 165, 453, 16, 16);
    ASSERT_NE(nullptr, view.tabs);
    expect_placed(view.tabs, 8, 8, 622, 436);
    ASSERT_EQ(2, SendMessageA(view.tabs, TCM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ("Config", tab_text(view.tabs, 0));
    EXPECT_EQ("Logging", tab_text(view.tabs, 1));
    EXPECT_EQ(0, SendMessageA(view.tabs, TCM_GETCURSEL, 0, 0));
    const HWND config_page = FindWindowExA(view.tabs, nullptr, "TabDialog", nullptr);
    const HWND logging_page = FindWindowExA(view.tabs, config_page, "TabDialog", nullptr);
    ASSERT_NE(nullptr, logging_page);
    EXPECT_TRUE(IsWindowVisible(config_page) && IsWindowEnabled(config_page));
    EXPECT_FALSE(IsWindowVisible(logging_page) || IsWindowEnabled(logging_page));
    expect_placed(config_page, 1, 25, 619, 409);
    ASSERT_NE(nullptr, view.tooltip);

    // No service yet; installed while the program runs, it shows within two seconds.
    expect_line(view.wait_for_status("SERVICE IS NOT INSTALLED", state_timeout_ms),
                "SERVICE IS NOT INSTALLED", Colour::other, false, false);
    ASSERT_TRUE(demo.install());
    ULONGLONG installed_at = GetTickCount64();
    expect_line(view.wait_for_status("SERVICE HALTED", follow_timeout_ms), "SERVICE HALTED",
                Colour::red, true, false);
    EXPECT_LE(GetTickCount64() - installed_at, follow_timeout_ms + 200);

    // A refused Start greys both buttons; the next report gives Start back.
    const std::string client = demo.file("ryxc-demo.exe");
    ASSERT_TRUE(MoveFileA(client.c_str(), (client + ".away").c_str()));
    PostMessageA(view.start, BM_CLICK, 0, 0);
    EXPECT_TRUE(wait_until([&] { return !IsWindowEnabled(view.start); }, state_timeout_ms));
    EXPECT_TRUE(wait_until([&] { return IsWindowEnabled(view.start) != FALSE; }, 2000));
    EXPECT_EQ("SERVICE HALTED", view.status().text);
    ASSERT_TRUE(MoveFileA((client + ".away").c_str(), client.c_str()));

    // Start: both buttons go grey at once, then the service runs.
    PostMessageA(view.start, BM_CLICK, 0, 0);
    const ULONGLONG clicked_at = GetTickCount64();
    while (IsWindowEnabled(view.start) && GetTickCount64() - clicked_at < state_timeout_ms) {
        Sleep(1);
    }
    EXPECT_FALSE(IsWindowEnabled(view.stop)) << "Stop still enabled right after Start";
    expect_line(view.wait_for_status("SERVICE STARTING", state_timeout_ms), "SERVICE STARTING",
                Colour::yellow, false, true);
    expect_line(view.wait_for_status("SERVICE RUNNING", state_timeout_ms), "SERVICE RUNNING",
                Colour::green, false, true);

    // Stop: stopping, then halted.
    PostMessageA(view.stop, BM_CLICK, 0, 0);
    expect_line(view.wait_for_status("SERVICE IS BEING STOPED", state_timeout_ms),
                "SERVICE IS BEING STOPED", Colour::yellow, false, false);
    expect_line(view.wait_for_status("SERVICE HALTED", state_timeout_ms), "SERVICE HALTED",
                Colour::red, true, false);

    // The service removed while polling, then installed again: followed both ways.
    ASSERT_TRUE(demo.uninstall());
    expect_line(view.wait_for_status("SERVICE IS NOT INSTALLED", follow_timeout_ms),
                "SERVICE IS NOT INSTALLED", Colour::other, false, false);
    ASSERT_TRUE(demo.install());
    installed_at = GetTickCount64();
    EXPECT_EQ("SERVICE HALTED", view.wait_for_status("SERVICE HALTED", follow_timeout_ms).text);
    EXPECT_LE(GetTickCount64() - installed_at, follow_timeout_ms + 200);

    // Closing asks first; No keeps the program, Yes ends it and leaves the service running.
    PostMessageA(view.start, BM_CLICK, 0, 0);
    EXPECT_EQ("SERVICE RUNNING", view.wait_for_status("SERVICE RUNNING", state_timeout_ms).text);
    PostMessageA(window, WM_CLOSE, 0, 0);
    HWND box = gui.wait_for_window("#32770", "Quit", start_timeout_ms);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(window, GetWindow(box, GW_OWNER));
    EXPECT_EQ("Are you sure you want to quit?", message_box_text(box));
    EXPECT_NE(nullptr, GetDlgItem(box, IDYES));
    ASSERT_TRUE(press_button(box, IDNO));
    DWORD exit_code = 0;
    EXPECT_FALSE(gui.wait_for_exit(1000, exit_code));
    EXPECT_TRUE(IsWindow(window));

    PostMessageA(window, WM_CLOSE, 0, 0);
    box = gui.wait_for_window("#32770", "Quit", start_timeout_ms);
    ASSERT_NE(nullptr, box);
    ASSERT_TRUE(press_button(box, IDYES));
    ASSERT_TRUE(gui.wait_for_exit(start_timeout_ms, exit_code));
    EXPECT_EQ(0u, exit_code);
    ServiceControl service("ryx");
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), service.query_state());
}

// Run by tests/e2e/french_interface.sh, which starts the program itself under a French
// (Canada) user interface language: a language is chosen per process, at its start.
TEST(FrenchInterface, CloseBoxCaptionIsQuitter) {
    if (GetEnvironmentVariableA("RYX_FRENCH_PROGRAM_RUNNING", nullptr, 0) == 0) {
        GTEST_SKIP() << "needs the program started in French by french_interface.sh";
    }
    HWND window = nullptr;
    const ULONGLONG deadline = GetTickCount64() + start_timeout_ms;
    while ((window = FindWindowA("DIZURO", nullptr)) == nullptr && GetTickCount64() < deadline) {
        Sleep(50);
    }
    ASSERT_NE(nullptr, window);
    PostMessageA(window, WM_CLOSE, 0, 0);
    HWND box = nullptr;
    while ((box = FindWindowA("#32770", nullptr)) == nullptr && GetTickCount64() < deadline) {
        Sleep(50);
    }
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(window, GetWindow(box, GW_OWNER));
    EXPECT_EQ("Quitter", window_text(box));
    EXPECT_EQ("Are you sure you want to quit?", message_box_text(box));
    EXPECT_TRUE(press_button(box, IDYES));
}
