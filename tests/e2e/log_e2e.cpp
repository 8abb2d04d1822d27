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

// The warning box, polled for, with the stop line of this entry the newest row (the lines after
// it wait for the box): the box's text, the system's caption, the Logging tab brought forward.
// Dismissed afterwards.
void expect_warning(const GuiSession& gui, const ListViewReader& list, const std::string& entry,
                    DWORD timeout_ms = 10000) {
    const HWND box = gui.wait_for_box(timeout_ms);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(entry, list.text(list.count() - 1, 1));
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
    const ListViewReader list(gui.log_list());
    ASSERT_TRUE(gui.ready() && list.valid());

    // The list's style (scroll bars and the client edge are the list's own doing) and columns.
    EXPECT_EQ(static_cast<LONG>(0x50818001),
              GetWindowLongA(gui.log_list(), GWL_STYLE) & ~(WS_HSCROLL | WS_VSCROLL));
    EXPECT_EQ(0, GetWindowLongA(gui.log_list(), GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
    EXPECT_EQ(0, SendMessageA(gui.log_list(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ("Date/Time 120 Entries 479",
              list.column_title(0) + " " + std::to_string(list.column_width(0)) + " " +
                  list.column_title(1) + " " + std::to_string(list.column_width(1)));

    // Every split case; the stop line already in the log gives no warning (it would hold the
    // line after it back).
    EXPECT_TRUE(list.wait_for_rows(5, {row("Starting tunnel client"),
                                       {"tunnel: t first", "t first"},
                                       {"", "t second"},
                                       row(""),
                                       row(stop)}));
    EXPECT_TRUE(list.shows_last_row());
    ASSERT_TRUE(append(log, line("after start")));
    EXPECT_TRUE(list.wait_for_rows(6, {row("after start")}));
    EXPECT_TRUE(gui.no_box_shown());
    EXPECT_EQ(0, gui.selected_tab());

    // A line written in two goes is one row; a last line without its line feed still shows.
    ASSERT_TRUE(append(log, "2024/05/17 12:00:00 tunnel: writt"));
    Sleep(800); // the client pauses in the middle of its line
    ASSERT_TRUE(append(log, "en in two goes\r\n"));
    ASSERT_TRUE(append(log, "2024/05/17 12:00:00 tunnel: no line feed"));
    EXPECT_TRUE(list.wait_for_rows(8, {row("written in two goes"), row("no line feed")}));

    // Past 64 KiB a line is cut: neither its stop line nor its splittable rest counts.
    const std::string head = "2024/05/17 12:00:00 tunnel: ";
    const std::string filler(64 * 1024 - head.size(), 'x');
    ASSERT_TRUE(append(log, "\r\n" + head + filler + stop + " next: tail\r\n" +
                                line("after the long line")));
    EXPECT_TRUE(list.wait_for_rows(10, {row(filler), row("after the long line")}));
    EXPECT_TRUE(gui.no_box_shown());

    // Stop lines written now: each brings the Logging tab forward and a warning, one by one.
    ASSERT_TRUE(append(log, line("[3] " + stop)));
    expect_warning(gui, list, "[3] " + stop);
    SendMessageA(gui.tab_control(), TCM_SETCURSEL, 0, 0);
    ASSERT_TRUE(append(log, line(stop + " 1") + line(stop + " 2")));
    expect_warning(gui, list, stop + " 1");
    expect_warning(gui, list, stop + " 2");

    // Clear, then a new line: the only row.
    ASSERT_TRUE(press_button(gui.logging_page(), IDC_CLEAR));
    ASSERT_TRUE(list.wait_for_rows(0, {}));
    ASSERT_TRUE(append(log, line("after clear")));
    EXPECT_TRUE(list.wait_for_rows(1, {row("after clear")}));

    // Truncated: read again from the start, and its lines count as new (the warning).
    ASSERT_TRUE(append(log, line("truncated") + line(stop), TRUNCATE_EXISTING));
    expect_warning(gui, list, stop);
    EXPECT_TRUE(list.wait_for_rows(3, {row("after clear"), row("truncated"), row(stop)}));

    // Renamed away and a new log made; then deleted and made again once the name is free.
    ASSERT_TRUE(MoveFileExA(log.c_str(), install.dir.file("ryxc.log.1").c_str(), 0));
    ASSERT_TRUE(append(log, line("rotated")));
    EXPECT_TRUE(list.wait_for_rows(4, {row("rotated")}));
    ASSERT_TRUE(DeleteFileA(log.c_str()));
    ASSERT_TRUE(wait_until([&] { return append(log, line("deleted and made anew")); }));
    EXPECT_TRUE(list.wait_for_rows(5, {row("deleted and made anew")}));
    EXPECT_TRUE(gui.no_box_shown());
}

// Lines first..last as the client writes them, and the rows they make.
std::pair<std::string, std::vector<Row>> numbered(int first, int last) {
    std::pair<std::string, std::vector<Row>> made;
    for (int n = first; n <= last; ++n) {
        made.first += line("line " + std::to_string(n));
        made.second.push_back(row("line " + std::to_string(n)));
    }
    return made;
}

TEST(LogViewer, NoLogAtStartThenCreatedAndTheRowLimit) {
    const GuiSession gui(config);
    const std::string log = gui.file("ryxc.log");
    const ListViewReader list(gui.log_list());
    ASSERT_TRUE(gui.ready() && list.valid());
    EXPECT_EQ(0, list.count());

    // Made while the program waits: shown whole, up to the limit, with no warning.
    ASSERT_TRUE(append(log, numbered(1, 499).first + line(stop) + numbered(501, 1002).first));
    std::vector<Row> expected = numbered(2, 1002).second;
    expected[498] = row(stop);
    EXPECT_TRUE(list.wait_for_rows(1001, expected));
    EXPECT_TRUE(list.shows_last_row());
    EXPECT_FALSE(IsWindowVisible(gui.logging_page()));
    ASSERT_TRUE(append(log, line("line 1003")));
    EXPECT_TRUE(list.wait_for_rows(1001, {row("line 1003")}));
    EXPECT_TRUE(gui.no_box_shown());

    // 1002 more, followed line by line: the oldest rows go first.
    ASSERT_TRUE(append(log, numbered(1004, 2005).first));
    ASSERT_TRUE(list.wait_for_rows(1001, {row("line 2005")}));
    EXPECT_EQ(numbered(1005, 2005).second, list.rows());
    EXPECT_TRUE(list.shows_last_row());
}

TEST(LogViewer, TheStandInClientQuittingWithoutAServerBringsTheWarning) {
    const DemoInstallation demo;
    ASSERT_TRUE(demo.install());
    write_bytes(demo.file("ryxc.conf"), "# no server\n");
    // A log from an earlier run, so that the program has caught up before the client starts.
    ASSERT_TRUE(append(demo.file("ryxc.log"), line("earlier run")));
    const GuiSession gui;
    const ListViewReader list(gui.log_list());
    ASSERT_TRUE(gui.ready() && list.wait_for_rows(1, {row("earlier run")}));

    ServiceControl service("ryx");
    ASSERT_TRUE(service.start());
    expect_warning(gui, list, stop, 20000);
    EXPECT_EQ("Starting tunnel client", list.text(1, 1));
    EXPECT_EQ(SERVICE_STOPPED, wait_for_state(service, SERVICE_STOPPED, 20000));
}

} // namespace
