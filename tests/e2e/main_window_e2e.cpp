// The program run as a user runs it: its main window, the status line with the stand-in
// client's service, and the Logging page while the log is written as the client writes it.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "base/owned_handle.h"
#include "base/private_message.h"
#include "e2e/program_driver.h"
#include "res/resource.h"
#include "service/service_control.h"
#include "win/demo_installation.h"
#include "win/registry_fixture.h"

namespace {

// A line as the client writes it, its stamp as the list shows it.
const std::string stamp = "2024/05/17 12:00:00";
const std::string stop = "Signaling service to stop because client quitted";
const std::string stop_line = stamp + " tunnel: " + stop + "\r\n";

// The status line as a user reads it: the status icon's tooltip, the buttons enabled. The icon
// itself comes from the same row of the state table as the tooltip.
std::string status_line(HWND window) {
    HWND tooltip = nullptr;
    for (HWND tip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); tip != nullptr;
         tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) {
        tooltip = GetWindow(tip, GW_OWNER) == window ? tip : tooltip;
    }
    return tool_text(tooltip, GetDlgItem(window, IDC_STATUS_ICON)) +
           (IsWindowEnabled(GetDlgItem(window, IDC_START)) ? "|Start" : "|") +
           (IsWindowEnabled(GetDlgItem(window, IDC_STOP)) ? "|Stop" : "|");
}

// The clipboard's text, which is then emptied.
std::string clipboard_text() {
    std::string text;
    if (OpenClipboard(nullptr)) {
        const HANDLE data = GetClipboardData(CF_TEXT);
        text = data != nullptr ? static_cast<const char*>(GlobalLock(data)) : "";
        GlobalUnlock(data);
        EmptyClipboard();
        CloseClipboard();
    }
    return text;
}

} // namespace

// One start of the program walked through the log, the service's states and the ways it ends,
// each start costing seconds under Wine.
TEST(Program, WindowLogStatusLineAndClosing) {
    const ProgramDriver gui(ProgramDriver::Installation{"server=tunnel.example.net\n"});
    ASSERT_TRUE(gui.ready());
    const HWND window = gui.main_window(), list = GetDlgItem(gui.logging_page(), IDC_LOG_LIST);
    const HWND start = GetDlgItem(window, IDC_START), stop_button = GetDlgItem(window, IDC_STOP);
    // The Config tab in front, the Logging page hidden and disabled.
    EXPECT_FALSE(IsWindowVisible(gui.logging_page()) || IsWindowEnabled(gui.logging_page()));

    // The log appears whole while the program waits for it: caught up at once, its stop line
    // with no warning (a box too many would still be up when no box is looked for below).
    // Cleared, then lines written now: each stop line warns, one box after the other, with the
    // Logging tab brought to the front; the log goes on being shown behind a box.
    const auto rows = [list] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0); };
    write_bytes(gui.file("ryxc.new"), stop_line);
    ASSERT_TRUE(MoveFileA(gui.file("ryxc.new").c_str(), gui.file("ryxc.log").c_str()));
    ASSERT_TRUE(wait_until([&] { return rows() == 1; }));
    ASSERT_TRUE(press_button(gui.logging_page(), IDC_CLEAR));
    ASSERT_TRUE(wait_until([&] { return rows() == 0; }));
    gui.append("ryxc.log", stop_line + stop_line + stamp + " tunnel: third\r\n");
    const HWND first_box = gui.wait_for_box();
    EXPECT_TRUE(TabCtrl_GetCurSel(gui.tabs()) == 1 && IsWindowVisible(gui.logging_page()) &&
                IsWindowEnabled(gui.logging_page()));
    gui.append("ryxc.log", stamp + " tunnel: fourth\r\n");
    EXPECT_TRUE(wait_until([&] { return rows() == 4; }));
    EXPECT_TRUE(IsWindowVisible(first_box));
    for (int box = 0; box < 2; ++box) {
        EXPECT_EQ("Error: An error caused the RYX service to exit unexpectedly.  Review the logs "
                  "for details.|Error",
                  gui.answer_box(IDOK));
    }

    // Copied as a user copies: the first row clicked, the next two picked with the keys, Ctrl+C.
    const auto click_first_row = [list] {
        RECT header = {};
        GetWindowRect(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), &header);
        SetCursorPos(header.left + 30, header.bottom + 4);
        mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    };
    clipboard_text();
    click_first_row();
    press({VK_DOWN});
    press({VK_SHIFT, VK_DOWN});
    press({VK_CONTROL, 'C'});
    const std::string copied = stamp + "\t" + stop + "\r\n" + stamp + "\tthird\r\n";
    EXPECT_EQ(copied, wait_for_text(clipboard_text, copied));
    // The list's menu from the keyboard, its Open log file: the shell's action on the log, which
    // opens it in the system's program for text files.
    press({VK_APPS});
    EXPECT_TRUE(wait_until([] { return !visible_windows("#32768").empty(); }));
    for (const BYTE key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}) {
        press({key});
    }
    EXPECT_TRUE(
        wait_until([] { return FindWindowA("Notepad", "ryxc.log - Notepad") != nullptr; }, 20000));
    PostMessageA(FindWindowA("Notepad", nullptr), WM_CLOSE, 0, 0);
    ASSERT_TRUE(wait_until([] { return FindWindowA("Notepad", nullptr) == nullptr; }));

    // The whole list of the longest rows copied: the window answers on, and the clipboard gets
    // every row. Wine's server holds up every window of the session while it takes tens of
    // megabytes into the clipboard, the desktop's too: the window is measured against the
    // desktop's. Cleared first, so that a full list is a list of long rows only.
    ASSERT_TRUE(press_button(gui.logging_page(), IDC_CLEAR));
    ASSERT_TRUE(wait_until([&] { return rows() == 0; }));
    const std::string entry(64 * 1024 - 28, 'e');
    std::string log;
    for (int row = 0; row < 1001; ++row) {
        log += stamp + " tunnel: " + entry + "\r\n";
    }
    gui.append("ryxc.log", log);
    ASSERT_TRUE(wait_until([&] { return rows() == 1001; }));
    SetForegroundWindow(window);
    click_first_row();
    press({VK_CONTROL, 'A'});
    ASSERT_TRUE(
        wait_until([list] { return SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) == 1001; }));
    clipboard_text();
    const std::vector<ULONGLONG> slowest = slowest_answers({window, GetDesktopWindow()}, [] {
        press({VK_CONTROL, 'C'});
        // Looked at, not read, until the copy is done: reading it is the test's own cost.
        EXPECT_TRUE(wait_until([] { return IsClipboardFormatAvailable(CF_TEXT) != FALSE; }));
    });
    EXPECT_GT(slowest[1] + 200, slowest[0]);
    EXPECT_EQ(1001u * (stamp.size() + 1 + entry.size() + 2), clipboard_text().size());
    // Let go of again: with them, each row the service adds later holds the window ~190 ms.
    ASSERT_TRUE(press_button(gui.logging_page(), IDC_CLEAR));
    ASSERT_TRUE(wait_until([&] { return rows() == 0; }));

    // The Config tab in front again: the service's own lines, which the Logging page shows as
    // they come, cost Wine's list view its redraw (up to ~50 ms) while it shows.
    PostMessageA(gui.tabs(), WM_KEYDOWN, VK_LEFT, 0);
    ASSERT_TRUE(wait_until([&gui] { return IsWindowVisible(gui.config_page()) != FALSE; }));

    // The status line follows the service: none yet; installed here while the program runs, it
    // shows within two seconds.
    const DemoInstallation demo(gui.install_dir());
    const auto shows = [window](const std::string& wanted, DWORD timeout_ms = 20000) {
        return wait_for_text([window] { return status_line(window); }, wanted, timeout_ms);
    };
    const std::string none = "SERVICE IS NOT INSTALLED||", halted = "SERVICE HALTED|Start|";
    const std::string running = "SERVICE RUNNING||Stop";
    EXPECT_EQ(none, shows(none));
    ASSERT_TRUE(demo.install());
    EXPECT_EQ(halted, shows(halted, 2000));

    // The program's own messages, made up by this process with any parameters, posted and sent
    // to the window and both pages: nothing shows them, and the window answers on. Watched for
    // a second, longer than a forged state would stand before the monitor's next report.
    for (const HWND target : {window, gui.config_page(), gui.logging_page()}) {
        for (UINT message = private_message::first; message <= private_message::last; ++message) {
            for (const LPARAM junk : {LPARAM{0}, LPARAM{-1}, LPARAM{0x10}, LPARAM{0x7FFE0000}}) {
                DWORD_PTR ignored = 0;
                PostMessageA(target, message, SERVICE_RUNNING, junk);
                SendMessageTimeoutA(target, message, SERVICE_RUNNING, junk, SMTO_NORMAL, 2000,
                                    &ignored);
            }
        }
    }
    DWORD_PTR answered = 0;
    EXPECT_TRUE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &answered));
    EXPECT_FALSE(wait_until(
        [&] { return status_line(window) != halted || gui.wait_for_box(0) != nullptr; }, 1000));

    // A service that never reaches the manager when started, and one whose stop does not
    // return: the window answers on meanwhile, with both buttons greyed at once.
    const auto answers_while = [&](HWND button) {
        return slowest_answers({window}, [&] {
            SendMessageA(button, BM_CLICK, 0, 0);
            EXPECT_FALSE(wait_until(
                [&] { return IsWindowEnabled(start) || IsWindowEnabled(stop_button); }, 3000));
        })[0];
    };
    write_bytes(gui.file("hang-start"), "");
    const ULONGLONG started = GetTickCount64();
    EXPECT_GT(50u, answers_while(start));
    // Told in the system's words, once: a timeout is not tried again.
    EXPECT_EQ("The RYX service could not be started.\n" +
                  system_text(ERROR_SERVICE_REQUEST_TIMEOUT) + "|Error",
              gui.answer_box(IDOK, 20000));
    EXPECT_GT(15000u, GetTickCount64() - started);
    DeleteFileA(gui.file("hang-start").c_str());

    // Started and stopped.
    ASSERT_EQ(halted, shows(halted));
    PostMessageA(start, BM_CLICK, 0, 0);
    EXPECT_EQ(running, shows(running));
    write_bytes(gui.file("slow-stop"), "");
    EXPECT_GT(50u, answers_while(stop_button));
    DeleteFileA(gui.file("slow-stop").c_str()); // the stop goes on now
    EXPECT_EQ(halted, shows(halted));

    // Removed while the program polls, then installed again: followed both ways, and no
    // connection of the program keeps the removed service alive.
    ASSERT_TRUE(demo.uninstall());
    EXPECT_EQ(none, shows(none, 2000));
    ASSERT_TRUE(demo.install());
    EXPECT_EQ(halted, shows(halted, 2000));
    PostMessageA(start, BM_CLICK, 0, 0);
    ASSERT_EQ(running, shows(running));

    // Holding the session but answering nothing: a second start says so, opening no window of
    // its own, and ends with 0.
    {
        const OwnedHandle<HANDLE> frozen(
            OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(window, nullptr)),
            CloseHandle);
        ASSERT_NE(static_cast<DWORD>(-1), SuspendThread(frozen.get()));
        const ProgramDriver second(ryxgui_command());
        EXPECT_EQ("RYX Client GUI is already running but is not responding.|Error",
                  second.answer_box(IDOK, 20000));
        EXPECT_EQ(0u, second.exit_code(2000));
        EXPECT_EQ(1u, visible_windows("DIZURO").size());
        ResumeThread(frozen.get());
    }

    // Closing asks first, in a box of the window's own: No keeps the program (it asks again),
    // Yes ends it with 0 soon and leaves the service running.
    for (const int answer : {IDNO, IDYES}) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ("Are you sure you want to quit?|Quit", gui.answer_box(answer));
    }
    ASSERT_EQ(0u, gui.exit_code(500));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), ServiceControl("ryx").query_state());
}

// A second start while the first is still reading a long configuration file waits for the
// first one's window, brings it forward and ends with 0: one window.
TEST(Program, ASecondStartDuringASlowStartUpBringsTheFirstForward) {
    const RegistryFixture registry;
    const TempDir install;
    RegistryFixture::set_install_dir(install.path());
    std::string comments;
    for (int line = 0; line < 300000; ++line) {
        comments += "# a long comment of the kind nobody writes, but a file may hold\n";
    }
    write_bytes(install.file("ryxc.conf"), comments + "server=slow.example\n");
    const ProgramDriver first(ryxgui_command());
    Sleep(200); // the first is reading the file
    const ProgramDriver second(ryxgui_command());
    const HWND window = first.wait_for_window("DIZURO", nullptr, 20000);
    EXPECT_EQ(0u, second.exit_code(10000));
    EXPECT_TRUE(wait_until([window] { return GetForegroundWindow() == window; }));
    EXPECT_EQ(1u, visible_windows("DIZURO").size());
}
