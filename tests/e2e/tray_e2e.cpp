// The program in the notification area as a user meets it under Wine's explorer: the icon that
// follows the stand-in client's service, its menu chosen with the keys, the notifications, the
// window hidden in and brought back from the notification area, the start at logon, and a
// shell that starts late or again.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>
#include <string>
#include <thread>

#include "app/start_with_windows.h"
#include "app/tray_window.h"
#include "app/user_settings.h"
#include "e2e/notification_area.h"
#include "e2e/program_driver.h"
#include "service/service_control.h"
#include "ui/notify_icon.h"
#include "win/demo_installation.h"
#include "win/registry_fixture.h"

namespace {

// No choices of an earlier run: the defaults, and no Run value; none left behind either.
struct FreshChoices {
    FreshChoices() { forget(); }
    ~FreshChoices() { forget(); }
    static void forget() {
        RegDeleteTreeA(HKEY_CURRENT_USER, UserSettings::key);
        RegDeleteKeyValueA(HKEY_CURRENT_USER, StartWithWindows::run_key,
                           StartWithWindows::value_name);
    }
};

// A choice as the program keeps it: "1", "0", or "none".
std::string kept(const char* name) {
    DWORD value = 0, size = sizeof value;
    return RegGetValueA(HKEY_CURRENT_USER, UserSettings::key, name, RRF_RT_REG_DWORD, nullptr,
                        &value, &size) == ERROR_SUCCESS
               ? std::to_string(value)
               : "none";
}

std::string run_value() {
    char data[1024] = {};
    DWORD size = sizeof data;
    return RegGetValueA(HKEY_CURRENT_USER, StartWithWindows::run_key, StartWithWindows::value_name,
                        RRF_RT_REG_SZ, nullptr, data, &size) == ERROR_SUCCESS
               ? data
               : "none";
}

std::string tip(const char* state) {
    return std::string("RYX Client GUI - ") + state;
}

void press(BYTE key) {
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
}

bool menu_shown() {
    return !visible_windows("#32768").empty();
}

// The icon's menu opened with a right click, its item chosen by its access key; returns once
// the menu has gone, which is just before the program acts on the choice.
void choose_from_tray_menu(BYTE key) {
    const std::vector<HWND> icons = tray_icons();
    ASSERT_EQ(1u, icons.size());
    click_tray_icon(icons.front(), true);
    ASSERT_TRUE(wait_until(menu_shown));
    press(key);
    ASSERT_TRUE(wait_until([] { return !menu_shown(); }));
}

// The program's hidden window that owns the icon.
HWND icon_owner(DWORD process_id = 0) {
    for (HWND window = FindWindowA(TrayWindow::window_class, nullptr); window != nullptr;
         window = FindWindowExA(nullptr, window, TrayWindow::window_class, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (process_id == 0 || owner == process_id) {
            return window;
        }
    }
    return nullptr;
}

// What the shell would send the icon's owner for an event Wine never reports.
void send_icon_event(WORD event) {
    PostMessageA(icon_owner(), RegisterWindowMessageA(TrayWindow::callback_message_name), 0,
                 MAKELPARAM(event, NotifyIcon::id));
}

// A shell that is not ready: a window of the shell's class, found before the real one, that
// refuses every icon. Its thread answers the program's calls until it goes.
class RefusingShell {
public:
    RefusingShell() {
        thread_ = std::thread([this] {
            WNDCLASSA window_class = {};
            window_class.lpfnWndProc = DefWindowProcA; // WM_COPYDATA: 0, refused
            window_class.hInstance = GetModuleHandleA(nullptr);
            window_class.lpszClassName = "Shell_TrayWnd";
            RegisterClassA(&window_class);
            window_ = CreateWindowExA(0, "Shell_TrayWnd", nullptr, WS_POPUP, 0, 0, 0, 0, nullptr,
                                      nullptr, window_class.hInstance, nullptr);
            MSG message;
            while (GetMessageA(&message, nullptr, 0, 0) > 0) {
                DispatchMessageA(&message);
            }
            DestroyWindow(window_);
        });
        wait_until([this] { return window_ != nullptr; });
    }
    ~RefusingShell() { leave(); }
    void leave() {
        if (thread_.joinable()) {
            PostMessageA(window_, WM_QUIT, 0, 0);
            thread_.join();
        }
    }
    bool found_first() const { return FindWindowA("Shell_TrayWnd", nullptr) == window_; }

private:
    std::thread thread_;
    HWND volatile window_ = nullptr;
};

} // namespace

TEST(NotificationArea, IconFollowsTheServiceMenuActsNotificationsTellWhatOthersDid) {
    const FreshChoices fresh;
    const ProgramDriver gui(ProgramDriver::Installation{"server=tunnel.example.net\n"});
    ASSERT_TRUE(gui.ready());
    const HWND window = gui.main_window();
    EXPECT_EQ(tip("Not installed"), wait_for_text(only_tray_tip, tip("Not installed")));
    const DemoInstallation demo(gui.install_dir());
    ASSERT_TRUE(demo.install());
    EXPECT_EQ(tip("Stopped"), wait_for_text(only_tray_tip, tip("Stopped")));

    // Start and Stop from the menu do what the buttons do; Notify unticked, a start by another
    // tool is no news either: no notification for any of them.
    choose_from_tray_menu('S');
    EXPECT_EQ(tip("Running"), wait_for_text(only_tray_tip, tip("Running")));
    choose_from_tray_menu('T');
    EXPECT_EQ(tip("Stopped"), wait_for_text(only_tray_tip, tip("Stopped")));
    choose_from_tray_menu('N');
    EXPECT_EQ("0", wait_for_text([] { return kept(UserSettings::notify); }, "0"));
    ServiceControl service("ryx");
    ASSERT_TRUE(service.start());
    EXPECT_EQ(tip("Running"), wait_for_text(only_tray_tip, tip("Running")));
    // Wine shows a notification two seconds after it is asked for.
    EXPECT_FALSE(wait_until([] { return !tray_balloon().empty(); }, 3000)) << tray_balloon();

    // Ticked again, a stop by another tool is told; a click on it shows the hidden window on
    // the Logging page.
    choose_from_tray_menu('N');
    EXPECT_EQ("1", wait_for_text([] { return kept(UserSettings::notify); }, "1"));
    ASSERT_TRUE(service.stop());
    EXPECT_EQ("The RYX tunnel has stopped.",
              wait_for_text(tray_balloon, "The RYX tunnel has stopped."));
    choose_from_tray_menu('M');
    EXPECT_EQ("1", wait_for_text([] { return kept(UserSettings::minimise_to_tray); }, "1"));
    PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0); // the minimise box
    EXPECT_TRUE(wait_until([window] { return !IsWindowVisible(window); }));
    send_icon_event(NIN_BALLOONUSERCLICK);
    EXPECT_TRUE(wait_until([window] {
        return IsWindowVisible(window) && !IsIconic(window) && GetForegroundWindow() == window;
    }));
    EXPECT_EQ(1, TabCtrl_GetCurSel(gui.tabs()));

    // Started again by another tool: told once the quiet time after the last notification is
    // over. Meanwhile the rest of the menu and the icon.
    ASSERT_TRUE(service.start());
    const ULONGLONG started = GetTickCount64();

    // Open log file, as the log list's menu does it: the client writes the log once it runs.
    ASSERT_TRUE(wait_until([&] {
        return GetFileAttributesA(gui.file("ryxc.log").c_str()) != INVALID_FILE_ATTRIBUTES;
    }));
    choose_from_tray_menu('L');
    EXPECT_TRUE(
        wait_until([] { return FindWindowA("Notepad", "ryxc.log - Notepad") != nullptr; }, 20000));
    PostMessageA(FindWindowA("Notepad", nullptr), WM_CLOSE, 0, 0);

    // Start with Windows writes this program's Run value, and unticking removes it.
    const std::string command = "\"" + executable_directory() + "\\ryxgui.exe\" --tray";
    choose_from_tray_menu('W');
    EXPECT_EQ(command, wait_for_text(run_value, command));
    choose_from_tray_menu('W');
    EXPECT_EQ("none", wait_for_text(run_value, "none"));

    // Minimised into the notification area, and back with a click on the icon.
    PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(wait_until([window] { return !IsWindowVisible(window); }));
    click_tray_icon(tray_icons().front());
    EXPECT_TRUE(wait_until([window] {
        return IsWindowVisible(window) && !IsIconic(window) && GetForegroundWindow() == window;
    }));

    // The shell started again has lost the icon: it comes back as it was.
    NOTIFYICONDATAA lost = {};
    lost.cbSize = sizeof lost;
    lost.hWnd = icon_owner();
    lost.uID = NotifyIcon::id;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &lost));
    ASSERT_TRUE(wait_until([] { return tray_icons().empty(); }));
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_EQ(tip("Running"), wait_for_text(only_tray_tip, tip("Running")));

    // Quit asks as the close box does; the menu works while the box is up, goes with a click
    // elsewhere, and Open brings the box forward.
    choose_from_tray_menu('Q');
    const HWND box = gui.wait_for_box();
    ASSERT_NE(nullptr, box);
    click_tray_icon(tray_icons().front(), true);
    EXPECT_TRUE(wait_until(menu_shown));
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 10, GetSystemMetrics(SM_CYSCREEN) - 10);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    EXPECT_TRUE(wait_until([] { return !menu_shown(); }));
    click_tray_icon(tray_icons().front());
    EXPECT_TRUE(wait_until([box] { return GetForegroundWindow() == box; }));
    EXPECT_EQ("Are you sure you want to quit?|Quit", gui.answer_box(IDNO));

    EXPECT_EQ("The RYX tunnel is running.",
              wait_for_text(tray_balloon, "The RYX tunnel is running.", 15000));
    EXPECT_GE(GetTickCount64() - started, 8000u); // ten seconds after the last, less the wait

    // Quit, and Yes: the program ends and takes its icon along.
    choose_from_tray_menu('Q');
    EXPECT_EQ("Are you sure you want to quit?|Quit", gui.answer_box(IDYES));
    DWORD exit_code = 99;
    ASSERT_TRUE(gui.wait_for_exit(2000, exit_code));
    EXPECT_TRUE(tray_icons().empty());
}

// Started at logon: only the icon, added once the shell is ready; a second such start changes
// nothing, a plain start brings the window out.
TEST(NotificationArea, ATrayStartShowsTheIconOnlyOnceTheShellTakesIt) {
    const FreshChoices fresh;
    const RegistryFixture registry;
    const TempDir install;
    RegistryFixture::set_install_dir(install.path());
    write_bytes(install.file("ryxc.conf"), "server=tunnel.example.net\n");

    RefusingShell shell;
    ASSERT_TRUE(shell.found_first());
    const ProgramDriver tray(ryxgui_command() + " --tray");
    ASSERT_TRUE(wait_until([&] { return icon_owner() != nullptr; }, 20000));
    const HWND window = FindWindowA("DIZURO", nullptr);
    EXPECT_FALSE(wait_until([] { return !tray_icons().empty(); }, 2500));
    shell.leave();
    EXPECT_EQ(tip("Not installed"), wait_for_text(only_tray_tip, tip("Not installed")));
    EXPECT_FALSE(IsWindowVisible(window));

    DWORD exit_code = 99;
    EXPECT_TRUE(ProgramDriver(ryxgui_command() + " --tray").wait_for_exit(5000, exit_code));
    EXPECT_EQ(0u, exit_code);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(ProgramDriver(ryxgui_command()).wait_for_exit(5000, exit_code));
    EXPECT_EQ(0u, exit_code);
    EXPECT_TRUE(wait_until(
        [window] { return IsWindowVisible(window) && GetForegroundWindow() == window; }));

    // The session ending takes the icon along, whether or not the window goes first.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(icon_owner(), WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 5000, &ignored);
    EXPECT_TRUE(tray_icons().empty());

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(wait_until([] { return !visible_windows("#32770").empty(); }));
    press_button(visible_windows("#32770").front(), IDYES);
    EXPECT_TRUE(tray.wait_for_exit(5000, exit_code));
}
