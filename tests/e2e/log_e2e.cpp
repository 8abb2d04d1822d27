// The Logging page watched as a user would while the test writes the log as the client does.
#include <windows.h>

#include <algorithm>
#include <commctrl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

#include "e2e/program_driver.h"
#include "res/resource.h"
#include "service/service_control.h"
#include "win/demo_installation.h"

namespace {

const std::string stop = "Signaling service to stop because client quitted";

// A line as the client writes it; its row as Copy puts it on the clipboard.
std::string line(const std::string& entry) {
    return "2024/05/17 12:00:00 tunnel: " + entry + "\r\n";
}
std::string row(const std::string& entry) {
    return "2024/05/17 12:00:00\t" + entry + "\r\n";
}

// As the client writes: whole lines at the end, the file shared for reading and writing.
void append(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::app) << text;
}

// How many rows the list holds, then the entries of the last rows (up to `count`).
std::string last_entries(HWND list, int count) {
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    std::string text = std::to_string(rows);
    for (int index = std::max(0, rows - count); index < rows; ++index) {
        LVITEMA item = {};
        item.iSubItem = 1;
        item.cchTextMax = remote_text_capacity;
        text += "|" + remote_text(list, LVM_GETITEMTEXTA, index, &item, sizeof item, &item.pszText);
    }
    return text;
}

// The warning for a stop line written now: the line is the newest row, the Logging tab is in
// front, and the box waits to be answered.
void expect_warning(const ProgramDriver& gui, HWND list) {
    ASSERT_NE(nullptr, gui.wait_for_box());
    const std::string newest = last_entries(list, 1);
    EXPECT_EQ(stop, newest.substr(newest.find('|') + 1));
    EXPECT_EQ(1, TabCtrl_GetCurSel(gui.tabs()));
    EXPECT_TRUE(IsWindowVisible(gui.logging_page()) && IsWindowEnabled(gui.logging_page()));
    EXPECT_EQ("Error: An error caused the RYX service to exit unexpectedly.  Review the logs for "
              "details.|Error",
              gui.answer_box(IDOK));
}

// Keys held together, let go in reverse, as typed into the window in front.
void press(std::initializer_list<BYTE> keys) {
    for (const BYTE key : keys) {
        keybd_event(key, 0, 0, 0);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        keybd_event(*key, 0, KEYEVENTF_KEYUP, 0);
    }
}

// The list's menu opened from the keyboard, its item at this position (from 1) chosen with the
// keys; true once the menu has gone.
bool choose_from_menu(int position) {
    press({VK_APPS});
    if (!wait_until([] { return !visible_windows("#32768").empty(); })) {
        return false;
    }
    for (int i = 0; i < position; ++i) {
        press({VK_DOWN});
    }
    press({VK_RETURN});
    return wait_until([] { return visible_windows("#32768").empty(); });
}

// The clipboard's text, which is then emptied.
std::string clipboard_text() {
    std::string text;
    if (OpenClipboard(nullptr)) {
        if (const HANDLE data = GetClipboardData(CF_TEXT)) {
            text = static_cast<const char*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        EmptyClipboard();
        CloseClipboard();
    }
    return text;
}

} // namespace

TEST(LogViewer, CatchUpFollowingWarningsCopyAndTheClientQuitting) {
    const ProgramDriver gui(
        ProgramDriver::Installation{"# no server: the stand-in client quits\n"});
    ASSERT_TRUE(gui.ready());
    const HWND list = GetDlgItem(gui.logging_page(), IDC_LOG_LIST);
    const auto rows = [list](int count) { return [=] { return last_entries(list, count); }; };

    // The log appears whole while the program waits for it: caught up at once, its newest 1001
    // rows; a stop line in it gives no warning.
    std::string lines;
    for (int n = 1; n <= 1002; ++n) {
        lines += line("line " + std::to_string(n));
    }
    write_bytes(gui.file("ryxc.new"), lines + line(stop));
    ASSERT_TRUE(MoveFileA(gui.file("ryxc.new").c_str(), gui.file("ryxc.log").c_str()));
    EXPECT_EQ("1001|line 1002|" + stop, wait_for_text(rows(2), "1001|line 1002|" + stop));

    // Clear, then two stop lines written now: the only rows, a warning for each in turn.
    ASSERT_TRUE(press_button(gui.logging_page(), IDC_CLEAR));
    ASSERT_EQ("0", wait_for_text(rows(0), "0"));
    append(gui.file("ryxc.log"), line(stop) + line(stop));
    expect_warning(gui, list);
    expect_warning(gui, list);
    append(gui.file("ryxc.log"), line("third") + line("fourth"));
    EXPECT_EQ("4|third|fourth", wait_for_text(rows(2), "4|third|fourth"));

    // Copied as a user copies: the first row clicked, two rows picked with the keys and Ctrl+C;
    // Ctrl+A, then the menu's Copy, for every row.
    const auto selected = [list] { return SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0); };
    clipboard_text();
    RECT header = {};
    GetWindowRect(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), &header);
    SetCursorPos(header.left + 30, header.bottom + 4);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    press({VK_DOWN});
    press({VK_SHIFT, VK_DOWN});
    press({VK_CONTROL, 'C'});
    const std::string two = row(stop) + row("third"), all = row(stop) + two + row("fourth");
    EXPECT_EQ(two, wait_for_text(clipboard_text, two));
    press({VK_CONTROL, 'A'});
    EXPECT_TRUE(wait_until([&] { return selected() == 4; }));
    EXPECT_TRUE(choose_from_menu(1));
    EXPECT_EQ(all, wait_for_text(clipboard_text, all));
    // The menu's Select all; its Open log file runs the shell's action on the log, which opens
    // it in the system's program for text files.
    press({VK_UP});
    ASSERT_TRUE(wait_until([&] { return selected() == 1; }));
    EXPECT_TRUE(choose_from_menu(2));
    EXPECT_TRUE(wait_until([&] { return selected() == 4; }));
    EXPECT_TRUE(choose_from_menu(3));
    std::vector<HWND> editor;
    ASSERT_TRUE(wait_until([&] { return !(editor = visible_windows("Notepad")).empty(); }));
    EXPECT_EQ("ryxc.log - Notepad", window_text(editor.front()));
    PostMessageA(editor.front(), WM_CLOSE, 0, 0);

    // The stand-in client installed here, with no server configured, quits by itself.
    const DemoInstallation demo(gui.install_dir());
    ASSERT_TRUE(demo.install());
    ASSERT_TRUE(ServiceControl("ryx").start());
    expect_warning(gui, list);
}
