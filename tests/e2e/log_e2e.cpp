// The Logging page watched as a user would while the test writes the log as the client does.
#include <windows.h>

#include <commctrl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

#include "e2e/gui_session.h"
#include "res/resource.h"
#include "service/service_control.h"
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
void expect_warning(const GuiSession& gui, HWND list) {
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

} // namespace

TEST(LogViewer, CatchUpFollowingWarningsAndAChangingLog) {
    const GuiSession gui("# no server, for the stand-in client at the end\n");
    ASSERT_TRUE(gui.ready());
    const HWND list = GetDlgItem(gui.logging_page(), IDC_LOG_LIST);
    const std::string log = gui.file("ryxc.log");

    // The log appears whole while the program waits for it: caught up at once from its end,
    // with its newest 1001 rows; a stop line in it gives no warning.
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

    // Truncated: read again from the start, its lines new (the warning again).
    write_bytes(log, line("truncated") + line(stop)); // the log emptied first
    expect_warning(gui, list);
    EXPECT_TRUE(wait_for_rows(list, 4, {row("truncated"), row(stop)}));

    // Renamed away and a new log made in its place: followed.
    ASSERT_TRUE(MoveFileExA(log.c_str(), gui.file("ryxc.log.1").c_str(), 0));
    append(log, line("rotated"));
    EXPECT_TRUE(wait_for_rows(list, 5, {row("rotated")}));

    // The stand-in client installed here, with no server configured, quits by itself.
    const DemoInstallation cleanup; // removes the service whatever happens
    ASSERT_EQ(0u, run_demo_client("install \"" + gui.install_dir() + "\""));
    ServiceControl service("ryx");
    ASSERT_TRUE(service.start());
    expect_warning(gui, list);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), wait_for_state(service, SERVICE_STOPPED, 20000));
}
