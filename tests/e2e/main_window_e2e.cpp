// The program run as a user runs it: its main window, the status line with the stand-in
// client's service, and the Logging page while the log is written as the client writes it.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <commctrl.h>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>

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

// The status line as a user sees it: the tooltip's text, the icon's colour by its strong
// channels ("R" red, "G" green, "RG" yellow), the buttons enabled.
std::string status_line(HWND window) {
    HWND tooltip = nullptr;
    for (HWND tip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); tip != nullptr;
         tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) {
        tooltip = GetWindow(tip, GW_OWNER) == window ? tip : tooltip;
    }
    const HWND icon = GetDlgItem(window, IDC_STATUS_ICON);
    RECT area = {};
    GetWindowRect(icon, &area);
    const HDC screen = GetDC(nullptr);
    const COLORREF pixel =
        GetPixel(screen, (area.left + area.right) / 2, (area.top + area.bottom) / 2);
    ReleaseDC(nullptr, screen);
    return tool_text(tooltip, icon) + (GetRValue(pixel) > 150 ? "|R" : "|") +
           (GetGValue(pixel) > 150 ? "G" : "") +
           (IsWindowEnabled(GetDlgItem(window, IDC_START)) ? "|Start" : "|") +
           (IsWindowEnabled(GetDlgItem(window, IDC_STOP)) ? "|Stop" : "|");
}

// The list's menu opened from the keyboard, its item at this position (from 1) chosen with the
// keys once it shows; returns once it has gone, so that the next one is not taken for it.
void choose_from_menu(int position) {
    press({VK_APPS});
    EXPECT_TRUE(wait_until([] { return !visible_windows("#32768").empty(); }));
    for (int i = 0; i < position; ++i) {
        press({VK_DOWN});
    }
    press({VK_RETURN});
    EXPECT_TRUE(wait_until([] { return visible_windows("#32768").empty(); }));
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

// How long the window takes to answer, asked every 20 ms by a thread of the test's own for as
// long as this lives.
class AnswerWatch {
public:
    explicit AnswerWatch(HWND window)
        : asker_([this, window] {
              while (!stop_) {
                  const ULONGLONG asked = GetTickCount64();
                  DWORD_PTR ignored = 0;
                  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
                  worst_ms_ = std::max<ULONGLONG>(worst_ms_, GetTickCount64() - asked);
                  Sleep(20);
              }
          }) {}
    ~AnswerWatch() { worst_ms(); }
    // The slowest answer so far; the asking ends.
    ULONGLONG worst_ms() {
        stop_ = true;
        if (asker_.joinable()) {
            asker_.join();
        }
        return worst_ms_;
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<ULONGLONG> worst_ms_{0};
    std::thread asker_;
};

} // namespace

TEST(Program, WindowLogStatusLineAndClosing) {
    const ProgramDriver gui(ProgramDriver::Installation{"server=tunnel.example.net\n"});
    ASSERT_TRUE(gui.ready());
    const HWND window = gui.main_window(), list = GetDlgItem(gui.logging_page(), IDC_LOG_LIST);
    const HWND start = GetDlgItem(window, IDC_START), stop_button = GetDlgItem(window, IDC_STOP);
    // The Config tab in front, the Logging page hidden and disabled.
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

    // The log appears whole while the program waits for it: caught up at once, its stop line
    // with no warning. Cleared, then lines written now: each stop line warns, one box after the
    // other, with the Logging tab brought to the front; the log goes on being shown behind a box.
    const auto rows = [list] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0); };
    write_bytes(gui.file("ryxc.new"), stop_line);
    ASSERT_TRUE(MoveFileA(gui.file("ryxc.new").c_str(), gui.file("ryxc.log").c_str()));
    ASSERT_TRUE(wait_until([&] { return rows() == 1; }));
    ASSERT_TRUE(press_button(gui.logging_page(), IDC_CLEAR));
    ASSERT_TRUE(wait_until([&] { return rows() == 0; }));
    const auto append_log = [&gui](const std::string& text) {
        std::ofstream(gui.file("ryxc.log"), std::ios::binary | std::ios::app) << text;
    };
    append_log(stop_line + stop_line + stamp + " tunnel: third\r\n");
    const HWND first_box = gui.wait_for_box();
    ASSERT_NE(nullptr, first_box);
    EXPECT_EQ(1, TabCtrl_GetCurSel(gui.tabs()));
    EXPECT_TRUE(IsWindowVisible(gui.logging_page()) && IsWindowEnabled(gui.logging_page()));
    append_log(stamp + " tunnel: fourth\r\n");
    EXPECT_TRUE(wait_until([&] { return rows() == 4; }));
    EXPECT_TRUE(IsWindowVisible(first_box));
    for (int box = 0; box < 2; ++box) {
        EXPECT_EQ("Error: An error caused the RYX service to exit unexpectedly.  Review the logs "
                  "for details.|Error",
                  gui.answer_box(IDOK));
    }
    EXPECT_EQ(nullptr, gui.wait_for_box(1500));

    // Copied as a user copies: the first row clicked, the next two picked with the keys, Ctrl+C.
    clipboard_text();
    RECT header = {};
    GetWindowRect(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), &header);
    SetCursorPos(header.left + 30, header.bottom + 4);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    press({VK_DOWN});
    press({VK_SHIFT, VK_DOWN});
    press({VK_CONTROL, 'C'});
    const std::string copied = stamp + "\t" + stop + "\r\n" + stamp + "\tthird\r\n";
    EXPECT_EQ(copied, wait_for_text(clipboard_text, copied));
    // The menu's Select all, then its Copy, for every row; its Open log file runs the shell's
    // action on the log, which opens it in the system's program for text files.
    choose_from_menu(2);
    EXPECT_TRUE(wait_until([list] { return SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) == 4; }));
    choose_from_menu(1);
    const std::string all = stamp + "\t" + stop + "\r\n" + copied + stamp + "\tfourth\r\n";
    EXPECT_EQ(all, wait_for_text(clipboard_text, all));
    choose_from_menu(3);
    EXPECT_TRUE(
        wait_until([] { return FindWindowA("Notepad", "ryxc.log - Notepad") != nullptr; }, 20000));
    PostMessageA(FindWindowA("Notepad", nullptr), WM_CLOSE, 0, 0);

    // The status line follows the service: none yet; installed here while the program runs, it
    // shows within two seconds.
    const DemoInstallation demo(gui.install_dir());
    const auto shows = [window](const std::string& wanted, DWORD timeout_ms = 10000) {
        return wait_for_text([window] { return status_line(window); }, wanted, timeout_ms);
    };
    const std::string none = "SERVICE IS NOT INSTALLED|||", halted = "SERVICE HALTED|R|Start|";
    const std::string running = "SERVICE RUNNING|G||Stop";
    EXPECT_EQ(none, shows(none));
    ASSERT_TRUE(demo.install());
    EXPECT_EQ(halted, shows(halted, 2000));

    // The program's own messages, made up by this process with any parameters, posted and sent
    // to the window and both pages: nothing shows them, and the window answers on.
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
    EXPECT_EQ(nullptr, gui.wait_for_box(1000));
    EXPECT_EQ(halted, status_line(window));
    EXPECT_EQ(4, rows());

    // A Start that the manager refuses (its program gone) greys both buttons at once and says
    // why in the system's words. Pressed just after a report and polled for closely: the next
    // report, half a second later, gives Start back.
    const std::string client = gui.file("ryxc-demo.exe");
    ASSERT_TRUE(MoveFileA(client.c_str(), (client + ".away").c_str()));
    PostMessageA(start, BM_CLICK, 0, 0);
    EXPECT_TRUE(wait_until([&] { return !IsWindowEnabled(start) && !IsWindowEnabled(stop_button); },
                           10000, 1));
    EXPECT_EQ("The RYX service could not be started.\n" + system_text(ERROR_FILE_NOT_FOUND) +
                  "|Error",
              gui.answer_box(IDOK));
    ASSERT_TRUE(MoveFileA((client + ".away").c_str(), client.c_str()));

    // Started and stopped through every state the stand-in service reports.
    EXPECT_EQ(halted, shows(halted));
    PostMessageA(start, BM_CLICK, 0, 0);
    EXPECT_EQ("SERVICE STARTING|RG||Stop", shows("SERVICE STARTING|RG||Stop"));
    EXPECT_EQ(running, shows(running));
    PostMessageA(stop_button, BM_CLICK, 0, 0);
    EXPECT_EQ("SERVICE IS BEING STOPED|RG||", shows("SERVICE IS BEING STOPED|RG||"));
    EXPECT_EQ(halted, shows(halted));

    // Removed while the program polls, then installed again: followed both ways, and no
    // connection of the program keeps the removed service alive.
    ASSERT_TRUE(demo.uninstall());
    EXPECT_EQ(none, shows(none, 2000));
    ASSERT_TRUE(demo.install());
    EXPECT_EQ(halted, shows(halted, 2000));

    // Closing asks first, in a box of the window's own: No keeps the program (it asks again),
    // Yes ends it with 0 soon and leaves the service running.
    PostMessageA(start, BM_CLICK, 0, 0);
    ASSERT_EQ(running, shows(running));
    for (const int answer : {IDNO, IDYES}) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ("Are you sure you want to quit?|Quit", gui.answer_box(answer));
    }
    ASSERT_TRUE(gui.wait_for_exit(500, exit_code));
    EXPECT_EQ(0u, exit_code);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), ServiceControl("ryx").query_state());

    // Two starts at once, neither with a window yet: one shows its window, the other ends with 0.
    const ProgramDriver one(ryxgui_command()), other(ryxgui_command());
    EXPECT_TRUE(wait_until(
        [&] { return one.wait_for_exit(0, exit_code) || other.wait_for_exit(0, exit_code); }));
    EXPECT_EQ(0u, exit_code);
    EXPECT_EQ(1u, visible_windows("DIZURO").size());
}

// A second start while the first is still reading a long configuration file waits for the
// first one's window, brings it forward and ends with 0.
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
    DWORD exit_code = 99;
    EXPECT_TRUE(second.wait_for_exit(10000, exit_code));
    EXPECT_EQ(0u, exit_code);
    EXPECT_TRUE(wait_until([window] { return GetForegroundWindow() == window; }));
    EXPECT_EQ(1u, visible_windows("DIZURO").size());
}

// A service that never reaches the manager when started, and one whose stop does not return:
// the window answers on meanwhile, with both buttons disabled, and a refusal is told once, as
// the first attempt met it.
TEST(Program, StartAndStopNeverHoldUpTheWindow) {
    const ProgramDriver gui(ProgramDriver::Installation{"server=tunnel.example.net\n"});
    ASSERT_TRUE(gui.ready());
    const HWND window = gui.main_window(), start = GetDlgItem(window, IDC_START);
    const HWND stop_button = GetDlgItem(window, IDC_STOP);
    const DemoInstallation demo(gui.install_dir());
    ASSERT_TRUE(demo.install());
    const auto shows = [window](const std::string& wanted) {
        return wait_for_text([window] { return status_line(window); }, wanted, 20000);
    };
    const std::string halted = "SERVICE HALTED|R|Start|";
    ASSERT_EQ(halted, shows(halted));
    // While the manager waits: the answers over three seconds of it.
    const auto answers_while = [&](HWND button) {
        AnswerWatch watch(window);
        PostMessageA(button, BM_CLICK, 0, 0);
        for (int second = 0; second < 3; ++second) {
            Sleep(1000);
            EXPECT_FALSE(IsWindowEnabled(start) || IsWindowEnabled(stop_button));
        }
        return watch.worst_ms();
    };

    write_bytes(gui.file("hang-start"), "");
    const ULONGLONG started = GetTickCount64();
    EXPECT_GT(50u, answers_while(start));
    EXPECT_EQ("The RYX service could not be started.\n" +
                  system_text(ERROR_SERVICE_REQUEST_TIMEOUT) + "|Error",
              gui.answer_box(IDOK));
    // The manager's own wait, once: a timeout is not tried again.
    EXPECT_GT(15000u, GetTickCount64() - started);
    DeleteFileA(gui.file("hang-start").c_str());
    ASSERT_EQ(halted, shows(halted));

    PostMessageA(start, BM_CLICK, 0, 0);
    ASSERT_EQ("SERVICE RUNNING|G||Stop", shows("SERVICE RUNNING|G||Stop"));
    write_bytes(gui.file("slow-stop"), "");
    EXPECT_GT(50u, answers_while(stop_button));
    DeleteFileA(gui.file("slow-stop").c_str()); // the stop goes on now
    EXPECT_EQ(halted, shows(halted));
}

// A program that holds the session but answers nothing: a second start says so, opening no
// window of its own, and ends with 0; once the first is gone, killed even, the next start runs
// as usual.
TEST(Program, ASecondStartBesideAFrozenProgramOpensNoWindow) {
    auto first = std::make_unique<ProgramDriver>(ProgramDriver::Installation{"server=x\n"});
    ASSERT_TRUE(first->ready());
    const OwnedHandle<HANDLE> frozen(
        OpenThread(THREAD_SUSPEND_RESUME, FALSE,
                   GetWindowThreadProcessId(first->main_window(), nullptr)),
        CloseHandle);
    ASSERT_NE(static_cast<DWORD>(-1), SuspendThread(frozen.get()));
    const ProgramDriver second(ryxgui_command());
    EXPECT_EQ("RYX Client GUI is already running but is not responding.|Error",
              second.answer_box(IDOK, 20000));
    DWORD exit_code = 99;
    EXPECT_TRUE(second.wait_for_exit(2000, exit_code));
    EXPECT_EQ(0u, exit_code);
    EXPECT_EQ(1u, visible_windows("DIZURO").size());
    ResumeThread(frozen.get());
    first.reset();
    const ProgramDriver next(ProgramDriver::Installation{"server=x\n"});
    EXPECT_TRUE(next.ready());
}

// The whole list of the longest rows copied: the window answers on, and the clipboard gets
// every row. Wine's server holds up every window of the session while it takes tens of
// megabytes into the clipboard, the desktop's too: the window is measured against the desktop's.
TEST(Program, CopyingTheWholeListOfLongRowsKeepsTheWindowAnswering) {
    const ProgramDriver gui(ProgramDriver::Installation{"server=x\n"});
    ASSERT_TRUE(gui.ready());
    const std::string entry(64 * 1024 - 28, 'e');
    std::string log;
    for (int row = 0; row < 1001; ++row) {
        log += stamp + " tunnel: " + entry + "\r\n";
    }
    write_bytes(gui.file("ryxc.log"), log);
    const HWND list = GetDlgItem(gui.logging_page(), IDC_LOG_LIST);
    ASSERT_TRUE(wait_until([list] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 1001; }));
    // The Logging tab from the keyboard, the list clicked, every row selected and copied.
    SetForegroundWindow(gui.main_window());
    PostMessageA(gui.tabs(), WM_KEYDOWN, VK_RIGHT, 0);
    ASSERT_TRUE(wait_until([&gui] { return IsWindowVisible(gui.logging_page()) != FALSE; }));
    RECT header = {};
    GetWindowRect(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), &header);
    SetCursorPos(header.left + 30, header.bottom + 4);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    press({VK_CONTROL, 'A'});
    ASSERT_TRUE(
        wait_until([list] { return SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) == 1001; }));
    clipboard_text();
    AnswerWatch watch(gui.main_window()), desktop(GetDesktopWindow());
    press({VK_CONTROL, 'C'});
    // Looked at, not read, until the copy is done: reading it is the test's own cost.
    EXPECT_TRUE(wait_until([] { return IsClipboardFormatAvailable(CF_TEXT) != FALSE; }));
    EXPECT_GT(desktop.worst_ms() + 200, watch.worst_ms());
    const std::string copied = clipboard_text();
    EXPECT_EQ(1001u * (stamp.size() + 1 + entry.size() + 2), copied.size());
}
