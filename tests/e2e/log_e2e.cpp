// The Logging page watched as a user would while the test writes the log as the client does.
#include <windows.h>

#include <commctrl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

#include "e2e/program_driver.h"
#include "res/resource.h"
#include "service/service_control.h"
#include "support/temp_dir.h"
#include "win/demo_installation.h"

namespace {

using Row = std::pair<std::string, std::string>; // Date/Time, Entries

const std::string stop = "Signaling service to stop because client quitted";

std::string line(const std::string& entry) {
    return "2024/05/17 12:00:00 tunnel: " + entry + "\r\n";
}
Row row(const std::string& entry) {
    return {"2024/05/17 12:00:00", entry};
}

// As the client writes: whole lines at the end, the file shared for reading and writing.
void append(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::app) << text;
}

std::string cell(HWND list, int index, int column) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.cchTextMax = remote_text_capacity;
    return remote_text(list, LVM_GETITEMTEXTA, index, &item, sizeof item, &item.pszText);
}
Row row_at(HWND list, int index) {
    return {cell(list, index, 0), cell(list, index, 1)};
}

// Polls until the list holds `count` rows, the last of them these.
bool wait_for_rows(HWND list, int count, const std::vector<Row>& last) {
    return wait_until([&] {
        bool same = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == count;
        for (std::size_t i = 0; same && i < last.size(); ++i) {
            same = row_at(list, count - static_cast<int>(last.size() - i)) == last[i];
        }
        return same;
    });
}

// The warning for a stop line written now: the line is the newest row, the Logging tab is in
// front, and the box waits to be dismissed.
void expect_warning(const ProgramDriver& gui, HWND list) {
    const HWND box = gui.wait_for_box();
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(stop,
              cell(list, static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) - 1, 1));
    EXPECT_EQ("Error: An error caused the RYX service to exit unexpectedly.  Review the logs for "
              "details.",
              message_box_text(box));
    EXPECT_EQ(1, gui.selected_tab());
    EXPECT_TRUE(IsWindowVisible(gui.logging_page()) && IsWindowEnabled(gui.logging_page()));
    EXPECT_FALSE(IsWindowVisible(gui.config_page()));
    EXPECT_TRUE(dismiss(box));
}

// Keys held together, let go in reverse, as typed into the window in front.
void press(std::initializer_list<WORD> keys) {
    std::vector<INPUT> typed(2 * keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        typed[i].type = typed[typed.size() - 1 - i].type = INPUT_KEYBOARD;
        typed[i].ki.wVk = typed[typed.size() - 1 - i].ki.wVk = keys.begin()[i];
        typed[typed.size() - 1 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(static_cast<UINT>(typed.size()), typed.data(), sizeof(INPUT));
}

// A click of the mouse on the list's first row.
void click_first_row(HWND list, DWORD down, DWORD up) {
    RECT header = {};
    GetWindowRect(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), &header);
    SetCursorPos(header.left + 30, header.bottom + 4);
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = down;
    click[1].mi.dwFlags = up;
    SendInput(2, click, sizeof(INPUT));
}

// The list's menu opened with the right button on the first row, its item at this position
// (from 1) chosen with the keys.
void choose_from_menu(HWND list, int position) {
    click_first_row(list, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    wait_until([] { return IsWindowVisible(FindWindowA("#32768", nullptr)) != FALSE; });
    for (int i = 0; i < position; ++i) {
        press({VK_DOWN});
    }
    press({VK_RETURN});
}

// For this test the shell opens .log files with a program that records the path it was given;
// the machine's own association comes back afterwards.
class LogOpensWithRecorder {
public:
    explicit LogOpensWithRecorder(const std::string& record) {
        char previous[256] = {};
        DWORD size = sizeof previous;
        RegGetValueA(HKEY_CLASSES_ROOT, ".log", nullptr, RRF_RT_REG_SZ, nullptr, previous, &size);
        previous_ = previous;
        set(".log", "RyxTest.Recorder");
        set("RyxTest.Recorder\\shell\\open\\command",
            "\"" + executable_directory() + "\\open_recorder.exe\" \"" + record + "\" \"%1\"");
    }
    ~LogOpensWithRecorder() {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "RyxTest.Recorder");
        if (previous_.empty()) {
            RegDeleteTreeA(HKEY_CLASSES_ROOT, ".log");
        } else {
            set(".log", previous_);
        }
    }

private:
    static void set(const std::string& key, const std::string& value) {
        RegSetKeyValueA(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                        static_cast<DWORD>(value.size() + 1));
    }
    std::string previous_;
};

// The clipboard's text when its ANSI and its Unicode format agree; emptied when asked to.
std::string clipboard_text(bool empty = false) {
    std::string ansi;
    std::wstring wide;
    if (OpenClipboard(nullptr)) {
        if (const HANDLE data = GetClipboardData(CF_TEXT)) {
            ansi = static_cast<const char*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            wide = static_cast<const wchar_t*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        if (empty) {
            EmptyClipboard();
        }
        CloseClipboard();
    }
    return std::wstring(ansi.begin(), ansi.end()) == wide ? ansi : "formats differ: " + ansi;
}

// Polls until the clipboard holds the rows with these entries, as the list copies them.
::testing::AssertionResult copied(const std::vector<std::string>& entries) {
    std::string wanted, seen;
    for (const std::string& entry : entries) {
        wanted += "2024/05/17 12:00:00\t" + entry + "\r\n";
    }
    if (wait_until([&] { return (seen = clipboard_text()) == wanted; })) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the clipboard holds \"" << seen << "\"";
}

} // namespace

TEST(LogViewer, CatchUpFollowingWarningsCopyAndTheClientQuitting) {
    const ProgramDriver gui(
        ProgramDriver::Installation{"# no server: the stand-in client quits\n"});
    ASSERT_TRUE(gui.ready());
    const HWND list = gui.control(IDC_LOG_LIST);
    const std::string log = gui.file("ryxc.log");

    // The log appears whole while the program waits for it: caught up at once, its newest 1001
    // rows; a stop line in it gives no warning.
    std::string lines;
    for (int n = 1; n <= 1002; ++n) {
        lines += line("line " + std::to_string(n));
    }
    write_bytes(gui.file("ryxc.new"), lines + line(stop));
    ASSERT_TRUE(MoveFileA(gui.file("ryxc.new").c_str(), log.c_str()));
    EXPECT_TRUE(wait_for_rows(list, 1001, {row("line 1002"), row(stop)}));
    EXPECT_EQ(row("line 3"), row_at(list, 0));

    // Clear, then two stop lines written now: the only rows, a warning for each in turn.
    ASSERT_TRUE(press_button(gui.logging_page(), IDC_CLEAR));
    ASSERT_TRUE(wait_for_rows(list, 0, {}));
    append(log, line(stop) + line(stop));
    expect_warning(gui, list);
    expect_warning(gui, list);
    append(log, line("third") + line("fourth"));
    EXPECT_TRUE(wait_for_rows(list, 4, {row("third"), row("fourth")}));

    // Copied as a user copies: two rows picked with the keys and Ctrl+C; Ctrl+A, then the menu's
    // Copy, for every row.
    const auto selected = [list] { return SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0); };
    clipboard_text(true);
    click_first_row(list, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    press({VK_DOWN});
    press({VK_SHIFT, VK_DOWN});
    press({VK_CONTROL, 'C'});
    EXPECT_TRUE(copied({stop, "third"}));
    press({VK_CONTROL, 'A'});
    EXPECT_TRUE(wait_until([&] { return selected() == 4; }));
    choose_from_menu(list, 1);
    EXPECT_TRUE(copied({stop, stop, "third", "fourth"}));
    // The menu's Select all; its Open log file runs the shell's action on the log.
    click_first_row(list, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(wait_until([&] { return selected() == 1; }));
    choose_from_menu(list, 2);
    EXPECT_TRUE(wait_until([&] { return selected() == 4; }));
    {
        const LogOpensWithRecorder association(gui.file("opened"));
        choose_from_menu(list, 3);
        EXPECT_TRUE(wait_until([&] { return read_bytes(gui.file("opened")) == log; }))
            << read_bytes(gui.file("opened"));
    }

    // The stand-in client installed here, with no server configured, quits by itself.
    const DemoInstallation cleanup; // removes the service whatever happens
    ASSERT_EQ(0u, run_demo_client("install \"" + gui.install_dir() + "\""));
    ServiceControl service("ryx");
    ASSERT_TRUE(service.start());
    expect_warning(gui, list);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), wait_for_state(service, SERVICE_STOPPED, 20000));
}
