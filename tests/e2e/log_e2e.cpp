// The Logging page driven as a user would watch it, while the test writes the log the way the
// client does, and the stand-in client run for real.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "e2e/gui_session.h"
#include "e2e/list_view_reader.h"
#include "res/resource.h"
#include "service/service_control.h"
#include "win/demo_installation.h"

namespace {

using Row = ListViewReader::Row;

const std::string stop = "Signaling service to stop because client quitted";
const std::string warning =
    "Error: An error caused the RYX service to exit unexpectedly.  Review the logs for details.";

std::string line(const std::string& entry) {
    return "2024/05/17 12:00:00 tunnel: " + entry + "\r\n";
}
Row row(const std::string& entry) {
    return {"2024/05/17 12:00:00", entry};
}

// Writes as the client does: the file shared every way, whole lines in one write, flushed;
// OPEN_ALWAYS appends, TRUNCATE_EXISTING empties the log first.
bool append(const std::string& path, const std::string& text, DWORD how = OPEN_ALWAYS) {
    const HANDLE file =
        CreateFileA(path.c_str(), how == OPEN_ALWAYS ? FILE_APPEND_DATA : GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, how,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool done =
        file != INVALID_HANDLE_VALUE &&
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size() && FlushFileBuffers(file);
    CloseHandle(file);
    return done;
}

// The log list of a started program.
struct LogList : ListViewReader {
    explicit LogList(const GuiSession& gui)
        : ListViewReader(GetDlgItem(gui.logging_page(), IDC_LOG_LIST)) {}
    bool wait_for_count(int wanted) const {
        return wait_until([&] { return count() == wanted; });
    }
};

// The warning box: its text, the system's caption, owned by the main window, the Logging tab
// brought forward. Dismissed afterwards.
void expect_warning(const GuiSession& gui, HWND box) {
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(warning, message_box_text(box));
    EXPECT_EQ("Error", window_text(box));
    EXPECT_EQ(1, gui.selected_tab());
    EXPECT_TRUE(IsWindowVisible(gui.logging_page()) && IsWindowEnabled(gui.logging_page()));
    EXPECT_FALSE(IsWindowVisible(gui.page()));
    EXPECT_TRUE(dismiss(box));
}

const char* const config = "server=tunnel.example.net\n";

TEST(LogViewer, PageRowsWarningsClearAndAChangingFile) {
    const Installation install(config, "");
    const std::string log = install.dir.file("ryxc.log");
    ASSERT_TRUE(append(log, line("Starting tunnel client") + "tunnel: t first\r\n" +
                                "xt: t second\n" + "2024/05/17 12:00:00 tunnel: \r\n" +
                                "2024/05/17 12:00:00 QUIC: UP\r\n" +
                                "2024/05/17 12:00:00 tunnel:no space\r\n" + line(stop)));
    const GuiSession gui;
    const LogList list(gui);
    ASSERT_TRUE(gui.ready() && list.valid());

    // The list's style (scroll bars and the client edge are the list's own doing) and columns.
    const HWND view = GetDlgItem(gui.logging_page(), IDC_LOG_LIST);
    EXPECT_EQ(static_cast<LONG>(0x50818001),
              GetWindowLongA(view, GWL_STYLE) & ~(WS_HSCROLL | WS_VSCROLL));
    EXPECT_EQ(0, GetWindowLongA(view, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
    EXPECT_EQ(0, SendMessageA(view, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ("Date/Time 120 Entries 479",
              list.column_title(0) + " " + std::to_string(list.column_width(0)) + " " +
                  list.column_title(1) + " " + std::to_string(list.column_width(1)));

    // Every split case; the stop line already in the log gives no warning.
    const std::vector<Row> at_start = {row("Starting tunnel client"),
                                       {"tunnel: t first", "t first"},
                                       {"", "t second"},
                                       row(""),
                                       row(stop)};
    ASSERT_TRUE(list.wait_for_count(5));
    EXPECT_EQ(at_start, list.rows());
    EXPECT_TRUE(list.shows_last_row());
    ASSERT_TRUE(append(log, line("after start")));
    ASSERT_TRUE(list.wait_for_count(6)); // a warning would hold this line back
    EXPECT_TRUE(gui.no_box_shown());
    EXPECT_EQ(0, gui.selected_tab());

    // A line written in two goes is one row; a last line without its line feed still shows.
    ASSERT_TRUE(append(log, "2024/05/17 12:00:00 tunnel: writt"));
    Sleep(800); // the client pauses in the middle of its line
    ASSERT_TRUE(append(log, "en in two goes\r\n"));
    ASSERT_TRUE(append(log, "2024/05/17 12:00:00 tunnel: no line feed"));
    ASSERT_TRUE(list.wait_for_count(8));
    EXPECT_EQ(row("written in two goes"), list.row(6));
    EXPECT_EQ(row("no line feed"), list.row(7));

    // Past 64 KiB a line is cut: neither its stop line nor its splittable rest counts.
    const std::string head = "2024/05/17 12:00:00 tunnel: ";
    const std::string filler(64 * 1024 - head.size(), 'x');
    ASSERT_TRUE(append(log, "\r\n" + head + filler + stop + " next: tail\r\n" +
                                line("after the long line")));
    ASSERT_TRUE(list.wait_for_count(10));
    EXPECT_EQ(row(filler), list.row(8));
    EXPECT_EQ(row("after the long line"), list.row(9));
    EXPECT_TRUE(gui.no_box_shown());

    // A stop line written now: its row, the Logging tab, the warning.
    ASSERT_TRUE(append(log, line("[3] " + stop)));
    const HWND first = gui.wait_for_box();
    EXPECT_EQ(11, list.count());
    EXPECT_EQ(row("[3] " + stop), list.row(10));
    expect_warning(gui, first);

    // Two stop lines: two boxes, one after the other.
    SendMessageA(gui.tab_control(), TCM_SETCURSEL, 0, 0);
    ASSERT_TRUE(append(log, line(stop + " 1") + line(stop + " 2")));
    const HWND one = gui.wait_for_box();
    ASSERT_NE(nullptr, one);
    EXPECT_EQ(12, list.count());
    expect_warning(gui, one);
    const HWND two = gui.wait_for_box();
    ASSERT_NE(nullptr, two);
    EXPECT_EQ(13, list.count());
    EXPECT_EQ(row(stop + " 2"), list.row(12));
    expect_warning(gui, two);

    // Clear, then a new line: the only row.
    ASSERT_TRUE(press_button(gui.logging_page(), IDC_CLEAR));
    ASSERT_TRUE(list.wait_for_count(0));
    ASSERT_TRUE(append(log, line("after clear")));
    ASSERT_TRUE(list.wait_for_count(1));
    EXPECT_EQ(row("after clear"), list.row(0));

    // Truncated: read again from the start, and its lines count as new (the warning).
    ASSERT_TRUE(append(log, line("truncated") + line(stop), TRUNCATE_EXISTING));
    expect_warning(gui, gui.wait_for_box());
    EXPECT_EQ((std::vector<Row>{row("after clear"), row("truncated"), row(stop)}), list.rows());

    // Renamed away and a new log made; then deleted and made again.
    ASSERT_TRUE(MoveFileExA(log.c_str(), install.dir.file("ryxc.log.1").c_str(), 0));
    ASSERT_TRUE(append(log, line("rotated")));
    ASSERT_TRUE(list.wait_for_count(4));
    EXPECT_EQ(row("rotated"), list.row(3));
    ASSERT_TRUE(DeleteFileA(log.c_str()));
    // The client retries until the name is free again.
    ASSERT_TRUE(wait_until([&] { return append(log, line("deleted and made anew")); }));
    ASSERT_TRUE(list.wait_for_count(5));
    EXPECT_EQ(row("deleted and made anew"), list.row(4));
    EXPECT_TRUE(gui.no_box_shown());
}

std::string numbered(int first, int last, int stop_at = 0) {
    std::string text;
    for (int n = first; n <= last; ++n) {
        text += line(n == stop_at ? stop : "line " + std::to_string(n));
    }
    return text;
}

std::vector<Row> numbered_rows(int first, int last) {
    std::vector<Row> rows;
    for (int n = first; n <= last; ++n) {
        rows.push_back(row("line " + std::to_string(n)));
    }
    return rows;
}

TEST(LogViewer, NoLogAtStartThenCreatedAndTheRowLimit) {
    const GuiSession gui(config);
    const std::string log = gui.file("ryxc.log");
    const LogList list(gui);
    ASSERT_TRUE(gui.ready() && list.valid());
    EXPECT_EQ(0, list.count());

    // Made while the program waits: shown whole, up to the limit, with no warning.
    ASSERT_TRUE(append(log, numbered(1, 1002, 500)));
    ASSERT_TRUE(list.wait_for_count(1001));
    std::vector<Row> expected = numbered_rows(2, 1002);
    expected[498] = row(stop);
    EXPECT_EQ(expected, list.rows());
    EXPECT_TRUE(list.shows_last_row());
    EXPECT_FALSE(IsWindowVisible(gui.logging_page()));
    ASSERT_TRUE(append(log, line("line 1003")));
    ASSERT_TRUE(wait_until([&] { return list.row(1000) == row("line 1003"); }));
    EXPECT_EQ(1001, list.count());
    EXPECT_TRUE(gui.no_box_shown());

    // 1002 more, followed line by line: the oldest rows go first.
    ASSERT_TRUE(append(log, numbered(1004, 2005)));
    ASSERT_TRUE(wait_until([&] { return list.row(1000) == row("line 2005"); }));
    EXPECT_EQ(numbered_rows(1005, 2005), list.rows());
    EXPECT_TRUE(list.shows_last_row());
}

TEST(LogViewer, TheStandInClientQuittingWithoutAServerBringsTheWarning) {
    const DemoInstallation demo;
    ASSERT_TRUE(demo.install());
    write_bytes(demo.file("ryxc.conf"), "# no server\n");
    // A log from an earlier run, so that the program has caught up before the client starts.
    ASSERT_TRUE(append(demo.file("ryxc.log"), line("earlier run")));
    const GuiSession gui;
    const LogList list(gui);
    ASSERT_TRUE(gui.ready() && list.wait_for_count(1));

    ServiceControl service("ryx");
    ASSERT_TRUE(service.start());
    const HWND box = gui.wait_for_box(20000);
    const std::vector<Row> rows = list.rows();
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ("Starting tunnel client", rows[1].second);
    EXPECT_EQ(stop, rows.back().second);
    expect_warning(gui, box);
    EXPECT_EQ(SERVICE_STOPPED, wait_for_state(service, SERVICE_STOPPED, 20000));
}

} // namespace
