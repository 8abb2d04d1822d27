// The program in the notification area as a user meets it under Wine's explorer: started at
// logon, the icon that follows the stand-in client's service, its menu chosen with the keys, the
// notifications, the window hidden in and brought back from the notification area, the start at
// logon, and a shell that starts again.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>
#include <string>

#include "app/start_with_windows.h"
#include "app/tray_window.h"
#include "app/user_settings.h"
#include "e2e/notification_area.h"
#include "e2e/program_driver.h"
#include "service/service_control.h"
#include "ui/notify_icon.h"
#include "win/demo_installation.h"

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

std::string tip(const char* state) {
    return std::string("RYX Client GUI - ") + state;
}

// The icon's menu opened with a right click, its item chosen by its access key; returns once
// the menu has gone, which is just before the program acts on the choice.
void choose_from_tray_menu(BYTE key) {
    const auto menu_shown = [] { return !visible_windows("#32768").empty(); };
    const std::vector<HWND> icons = tray_icons();
    ASSERT_EQ(1u, icons.size());
    click_tray_icon(icons.front(), true);
    ASSERT_TRUE(wait_until(menu_shown));
    press({key});
    ASSERT_TRUE(wait_until([&] { return !menu_shown(); }));
}

} // namespace

TEST(NotificationArea, FromALogonStartToQuit) {
    const FreshChoices fresh;
    // Started at logon: only the icon.
    const ProgramDriver gui(ProgramDriver::Installation{"server=tunnel.example.net\n"}, " --tray");
    ASSERT_TRUE(gui.ready());
    const HWND window = gui.main_window();
    EXPECT_EQ(tip("Not installed"), wait_for_text(only_tray_tip, tip("Not installed")));
    EXPECT_FALSE(IsWindowVisible(window));

    // A second such start changes nothing, a plain start brings the window out; a click on the
    // icon shows it too, once it has gone into the notification area as the user asked.
    EXPECT_EQ(0u, ProgramDriver(ryxgui_command() + " --tray").exit_code(5000));
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(0u, ProgramDriver(ryxgui_command()).exit_code(5000));
    const auto in_front = [window] {
        return IsWindowVisible(window) && !IsIconic(window) && GetForegroundWindow() == window;
    };
    EXPECT_TRUE(wait_until(in_front));
    choose_from_tray_menu('M');
    EXPECT_TRUE(
        wait_until([] { return UserSettings::read(UserSettings::minimise_to_tray, false); }));
    PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0); // the minimise box
    EXPECT_TRUE(wait_until([window] { return !IsWindowVisible(window); }));
    click_tray_icon(tray_icons().front());
    EXPECT_TRUE(wait_until(in_front));

    // Start and Stop from the menu do what the buttons do.
    const DemoInstallation demo(gui.install_dir());
    ASSERT_TRUE(demo.install());
    EXPECT_EQ(tip("Stopped"), wait_for_text(only_tray_tip, tip("Stopped")));
    choose_from_tray_menu('S');
    EXPECT_EQ(tip("Running"), wait_for_text(only_tray_tip, tip("Running")));
    choose_from_tray_menu('T');
    EXPECT_EQ(tip("Stopped"), wait_for_text(only_tray_tip, tip("Stopped")));

    // Notify unticked, a start by another tool is no news; ticked again, a stop by another tool
    // is told (Wine shows a notification two seconds after it is asked for), and a click on it
    // shows the hidden window on the Logging page.
    choose_from_tray_menu('N');
    EXPECT_TRUE(wait_until([] { return !UserSettings::read(UserSettings::notify, true); }));
    ServiceControl service("ryx");
    ASSERT_TRUE(service.start());
    EXPECT_EQ(tip("Running"), wait_for_text(only_tray_tip, tip("Running")));
    EXPECT_FALSE(wait_until([] { return !tray_balloon().empty(); }, 3000)) << tray_balloon();
    choose_from_tray_menu('N');
    ASSERT_TRUE(service.stop());
    EXPECT_EQ("The RYX tunnel has stopped.",
              wait_for_text(tray_balloon, "The RYX tunnel has stopped."));
    PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(wait_until([window] { return !IsWindowVisible(window); }));
    PostMessageA(FindWindowA(TrayWindow::window_class, nullptr),
                 RegisterWindowMessageA(TrayWindow::callback_message_name), 0,
                 MAKELPARAM(NIN_BALLOONUSERCLICK, NotifyIcon::id)); // never sent by Wine
    EXPECT_TRUE(wait_until(in_front));
    EXPECT_EQ(1, TabCtrl_GetCurSel(gui.tabs()));

    // Start with Windows writes this program's Run value, and unticking removes it.
    const std::string command = "\"" + executable_directory() + "\\ryxgui.exe\" --tray";
    const auto run_value = [] {
        return user_registry_text(StartWithWindows::run_key, StartWithWindows::value_name);
    };
    choose_from_tray_menu('W');
    EXPECT_EQ(command, wait_for_text(run_value, command));
    choose_from_tray_menu('W');
    EXPECT_EQ("none", wait_for_text(run_value, "none"));

    // The session ending takes the icon along, the window still there; a shell started again,
    // or late at logon, announces itself and gets it back as it was.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(FindWindowA(TrayWindow::window_class, nullptr), WM_ENDSESSION, TRUE, 0,
                        SMTO_NORMAL, 5000, &ignored);
    EXPECT_TRUE(wait_until([] { return tray_icons().empty(); }));
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_EQ(tip("Stopped"), wait_for_text(only_tray_tip, tip("Stopped")));

    // Quit asks as the close box does, and a click on the icon brings the box forward. Yes ends
    // the program, which takes its icon along.
    choose_from_tray_menu('Q');
    const HWND box = gui.wait_for_box();
    click_tray_icon(tray_icons().front());
    EXPECT_TRUE(wait_until([box] { return box != nullptr && GetForegroundWindow() == box; }));
    EXPECT_EQ("Are you sure you want to quit?|Quit", gui.answer_box(IDNO));
    choose_from_tray_menu('Q');
    EXPECT_EQ("Are you sure you want to quit?|Quit", gui.answer_box(IDYES));
    ASSERT_EQ(0u, gui.exit_code(2000));
    EXPECT_TRUE(wait_until([] { return tray_icons().empty(); }));
}
