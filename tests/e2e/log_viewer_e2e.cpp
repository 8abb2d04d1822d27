// The Logging page as a user reads the log: scrolled up while the log grows, finding a row, and
// saving a copy of a large log.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "e2e/program_driver.h"
#include "res/resource.h"

namespace {

std::string lines(int first, int last, const std::string& entry = "keepalive sent") {
    std::string text;
    for (int n = first; n <= last; ++n) {
        text += "2024/05/17 12:00:00 tunnel: " + entry + " " + std::to_string(n) + "\r\n";
    }
    return text;
}

LRESULT send(HWND list, UINT message, WPARAM wparam = 0) {
    return SendMessageA(list, message, wparam, 0);
}

} // namespace

TEST(LogViewer, FollowsOnlyAtTheEndFindsARowAndSavesAWholeCopy) {
    const ProgramDriver gui(ProgramDriver::Installation{"server=x\n"});
    ASSERT_TRUE(gui.ready());
    const HWND window = gui.main_window(), page = gui.logging_page();
    const HWND list = GetDlgItem(page, IDC_LOG_LIST);
    SetForegroundWindow(window);
    press({VK_CONTROL, VK_TAB});
    ASSERT_TRUE(wait_until([&] { return focus_of(window) == list; }));

    // At the end the list follows; scrolled up it stays, the rows in view kept in view as
    // the oldest go; back at the end (End) it follows again.
    gui.append("ryxc.log", lines(1, 1001));
    ASSERT_TRUE(wait_until([&] { return send(list, LVM_GETITEMCOUNT) == 1001; }));
    EXPECT_TRUE(wait_until([&] { return send(list, LVM_GETTOPINDEX) > 900; }));
    press({VK_HOME});
    EXPECT_TRUE(wait_until([&] { return send(list, LVM_GETTOPINDEX) == 0; }));
    send(list, LVM_ENSUREVISIBLE, 520);
    const LRESULT top = send(list, LVM_GETTOPINDEX);
    gui.append("ryxc.log", lines(1002, 1011));
    EXPECT_TRUE(wait_until([&] { return send(list, LVM_GETTOPINDEX) == top - 10; }));
    press({VK_END});
    gui.append("ryxc.log", lines(1012, 1020));
    EXPECT_TRUE(wait_until(
        [&] { return send(list, LVM_GETTOPINDEX) + send(list, LVM_GETCOUNTPERPAGE) == 1001; }));

    // Ctrl+F, a text, Enter: the row that holds it selected; again, around the end with a note.
    gui.append("ryxc.log", lines(1021, 1021, "NEEDLE in the log"));
    ASSERT_TRUE(wait_until([&] { return send(list, LVM_GETTOPINDEX) > 900; }));
    press({VK_HOME});
    press({VK_CONTROL, 'F'});
    const HWND find = GetDlgItem(page, IDC_FIND_TEXT);
    ASSERT_TRUE(wait_until([&] { return focus_of(window) == find; }));
    for (const char c : std::string("needle")) {
        press({LOBYTE(VkKeyScanA(c))});
    }
    // Asked again until the line has reached the list: "Not found." meanwhile.
    EXPECT_TRUE(wait_until(
        [&] {
            if (SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) ==
                1000) {
                return true;
            }
            press({VK_RETURN});
            return false;
        },
        10000, 300));
    EXPECT_EQ("", window_text(GetDlgItem(page, IDC_LOG_NOTE)));
    press({VK_RETURN});
    EXPECT_TRUE(wait_until([&] {
        return window_text(GetDlgItem(page, IDC_LOG_NOTE)) == "Passed the end; found from the top.";
    }));
    press({VK_ESCAPE});
    EXPECT_TRUE(wait_until([&] { return focus_of(window) == list && !IsWindowVisible(find); }));

    // Ctrl+S: a byte-identical copy of a 100 MB log, the window answering on meanwhile.
    const std::string block = lines(1, 20000) + std::string(1 << 20, 'x') + "\r\n";
    for (std::size_t size = 0; size < 100u << 20; size += block.size()) {
        gui.append("ryxc.log", block);
    }
    press({VK_CONTROL, 'S'});
    const HWND dialog = gui.wait_for_window("#32770", nullptr, 10000);
    ASSERT_NE(nullptr, dialog);
    const std::string copy = gui.file("saved copy.log");
    const HWND name = GetDlgItem(dialog, 0x47C) != nullptr ? GetDlgItem(dialog, 0x47C)
                                                           : GetDlgItem(dialog, 0x480);
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
    const std::vector<ULONGLONG> slowest = slowest_answers({window}, [&] {
        ASSERT_TRUE(press_button(dialog, IDOK));
        EXPECT_TRUE(wait_until(
            [&] { return window_text(GetDlgItem(page, IDC_LOG_NOTE)) == "Log saved."; }, 60000));
    });
    EXPECT_GT(50u, slowest[0]);
    EXPECT_TRUE(read_bytes(copy) == read_bytes(gui.file("ryxc.log")));
}
