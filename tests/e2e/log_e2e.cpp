#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "e2e/list_view_reader.h"
#include "e2e/program_driver.h"
#include "res/resource.h"
#include "service/service_control.h"
#include "support/temp_dir.h"
#include "win/demo_installation.h"
#include "win/registry_fixture.h"

namespace {

using Row = ListViewReader::Row;

constexpr DWORD start_timeout_ms = 20000;
constexpr DWORD row_timeout_ms = 10000;
constexpr DWORD poll_ms = 20;
const std::string stop = "Signaling service to stop because client quitted";
const std::string warning =
    "Error: An error caused the RYX service to exit unexpectedly.  Review the logs for details.";

std::string program() {
    return "\"" + executable_directory() + "\\ryxgui.exe\"";
}

std::string line(const std::string& entry) {
    return "2024/05/17 12:00:00 tunnel: " + entry + "\r\n";
}
Row row(const std::string& entry) {
    return {"2024/05/17 12:00:00", entry};
}

// Appends as the client does: the file shared every way, whole lines in one write, flushed.
bool append(const std::string& path, const std::string& text) {
    const HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool done =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size() && FlushFileBuffers(file);
    CloseHandle(file);
    return done;
}

bool truncate(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

template <typename Condition>
bool wait_until(Condition condition, DWORD timeout_ms = row_timeout_ms) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    while (!condition()) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(poll_ms);
    }
    return true;
}

RECT rect_in_parent(HWND child) {
    RECT area = {};
    GetWindowRect(child, &area);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&area), 2);
    return area;
}

// The program started on an installation, with the controls the log tests read.
class LogGui {
public:
    LogGui() : driver_(program()) {
        main = driver_.wait_for_window("DIZURO", nullptr, start_timeout_ms);
        tabs = FindWindowExA(main, nullptr, WC_TABCONTROLA, nullptr);
        for (HWND page = FindWindowExA(tabs, nullptr, "TabDialog", nullptr); page != nullptr;
             page = FindWindowExA(tabs, page, "TabDialog", nullptr)) {
            (GetDlgItem(page, IDC_LOG_LIST) != nullptr ? logging_page : config_page) = page;
        }
        list = GetDlgItem(logging_page, IDC_LOG_LIST);
        clear = GetDlgItem(logging_page, IDC_CLEAR);
        reader = std::make_unique<ListViewReader>(list);
    }

    bool ready() const { return list != nullptr && reader->valid(); }
    int count() const { return reader->count(); }
    std::vector<Row> rows() const { return reader->rows(); }
    bool wait_for_count(int wanted) const {
        return wait_until([&] { return count() == wanted; });
    }
    HWND box(DWORD timeout_ms = 0) const {
        return driver_.wait_for_window("#32770", nullptr, timeout_ms);
    }
    // Dismisses the box as a user would and waits until it has gone.
    bool dismiss(HWND box) const {
        return press_button(box, IDOK) && wait_until([&] { return !IsWindow(box); });
    }
    int selected_tab() const { return static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0)); }

    HWND main = nullptr;
    HWND tabs = nullptr;
    HWND config_page = nullptr;
    HWND logging_page = nullptr;
    HWND list = nullptr;
    HWND clear = nullptr;
    std::unique_ptr<ListViewReader> reader;

private:
    ProgramDriver driver_;
};

// The warning box: its text, the system's caption, owned by the main window, the Logging tab
// brought forward. Dismissed afterwards.
void expect_warning(const LogGui& gui, HWND box) {
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(warning, message_box_text(box));
    EXPECT_EQ("Error", window_text(box));
    EXPECT_EQ(gui.main, GetWindow(box, GW_OWNER));
    EXPECT_EQ(1, gui.selected_tab());
    EXPECT_TRUE(IsWindowVisible(gui.logging_page) && IsWindowEnabled(gui.logging_page));
    EXPECT_FALSE(IsWindowVisible(gui.config_page));
    EXPECT_TRUE(gui.dismiss(box));
}

class Installation {
public:
    Installation() {
        write_bytes(dir.file("ryxc.conf"), "server=tunnel.example.net\n");
        RegistryFixture::set_install_dir(dir.path());
    }
    std::string log() const { return dir.file("ryxc.log"); }

    const RegistryFixture registry;
    const TempDir dir;
};

TEST(LogViewer, PageRowsWarningsClearAndAChangingFile) {
    const Installation install;
    ASSERT_TRUE(append(install.log(), line("Starting tunnel client") + "tunnel: t first\r\n" +
                                          "xt: t second\n" + "2024/05/17 12:00:00 tunnel: \r\n" +
                                          "2024/05/17 12:00:00 QUIC: UP\r\n" +
                                          "2024/05/17 12:00:00 tunnel:no space\r\n" + line(stop)));
    const LogGui gui;
    ASSERT_TRUE(gui.ready());

    // The page: list and button where they belong, the list's style and columns.
    // Scroll bars and the client edge are the list's own doing once it is made.
    EXPECT_EQ(static_cast<LONG>(0x50818001),
              GetWindowLongA(gui.list, GWL_STYLE) & ~(WS_HSCROLL | WS_VSCROLL));
    EXPECT_EQ(0, GetWindowLongA(gui.list, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
    EXPECT_EQ(0, SendMessageA(gui.list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    const RECT list_area = rect_in_parent(gui.list);
    EXPECT_EQ((std::vector<LONG>{10, 10, 599, 358}),
              (std::vector<LONG>{list_area.left, list_area.top, list_area.right - list_area.left,
                                 list_area.bottom - list_area.top}));
    const RECT clear_area = rect_in_parent(gui.clear);
    EXPECT_EQ(
        (std::vector<LONG>{539, 378, 73, 23}),
        (std::vector<LONG>{clear_area.left, clear_area.top, clear_area.right - clear_area.left,
                           clear_area.bottom - clear_area.top}));
    EXPECT_EQ("Clear", window_text(gui.clear));
    EXPECT_EQ("Date/Time", gui.reader->column_title(0));
    EXPECT_EQ("Entries", gui.reader->column_title(1));
    EXPECT_EQ(120, gui.reader->column_width(0));
    EXPECT_EQ(479, gui.reader->column_width(1));

    // Every split case; the stop line already in the log gives no warning.
    const std::vector<Row> at_start = {row("Starting tunnel client"),
                                       {"tunnel: t first", "t first"},
                                       {"", "t second"},
                                       row(""),
                                       row(stop)};
    ASSERT_TRUE(gui.wait_for_count(5));
    EXPECT_EQ(at_start, gui.rows());
    EXPECT_TRUE(gui.reader->shows_last_row());
    ASSERT_TRUE(append(install.log(), line("after start")));
    ASSERT_TRUE(gui.wait_for_count(6)); // a warning would hold this line back
    EXPECT_EQ(nullptr, gui.box());
    EXPECT_EQ(0, gui.selected_tab());

    // A line written in two goes is one row; a last line without its line feed still shows.
    ASSERT_TRUE(append(install.log(), "2024/05/17 12:00:00 tunnel: writt"));
    Sleep(800); // the client pauses in the middle of its line
    ASSERT_TRUE(append(install.log(), "en in two goes\r\n"));
    ASSERT_TRUE(append(install.log(), "2024/05/17 12:00:00 tunnel: no line feed"));
    ASSERT_TRUE(gui.wait_for_count(8));
    EXPECT_EQ(row("written in two goes"), gui.reader->row(6));
    EXPECT_EQ(row("no line feed"), gui.reader->row(7));

    // Past 64 KiB a line is cut: neither its stop line nor its splittable rest counts.
    const std::string head = "2024/05/17 12:00:00 tunnel: ";
    const std::string filler(64 * 1024 - head.size(), 'x');
    ASSERT_TRUE(append(install.log(), "\r\n" + head + filler + stop + " next: tail\r\n" +
                                          line("after the long line")));
    ASSERT_TRUE(gui.wait_for_count(10));
    EXPECT_EQ(row(filler), gui.reader->row(8));
    EXPECT_EQ(row("after the long line"), gui.reader->row(9));
    EXPECT_EQ(nullptr, gui.box());

    // A stop line written now: its row, the Logging tab, the warning.
    ASSERT_TRUE(append(install.log(), line("[3] " + stop)));
    const HWND first = gui.box(row_timeout_ms);
    EXPECT_EQ(11, gui.count());
    EXPECT_EQ(row("[3] " + stop), gui.reader->row(10));
    expect_warning(gui, first);

    // Two stop lines: two boxes, one after the other.
    SendMessageA(gui.tabs, TCM_SETCURSEL, 0, 0);
    ASSERT_TRUE(append(install.log(), line(stop + " 1") + line(stop + " 2")));
    const HWND one = gui.box(row_timeout_ms);
    ASSERT_NE(nullptr, one);
    EXPECT_EQ(12, gui.count());
    expect_warning(gui, one);
    const HWND two = gui.box(row_timeout_ms);
    ASSERT_NE(nullptr, two);
    EXPECT_EQ(13, gui.count());
    EXPECT_EQ(row(stop + " 2"), gui.reader->row(12));
    expect_warning(gui, two);

    // Clear, then a new line: the only row.
    ASSERT_TRUE(press_button(gui.logging_page, IDC_CLEAR));
    ASSERT_TRUE(gui.wait_for_count(0));
    ASSERT_TRUE(append(install.log(), line("after clear")));
    ASSERT_TRUE(gui.wait_for_count(1));
    EXPECT_EQ(row("after clear"), gui.reader->row(0));

    // Truncated: read again from the start, and its lines count as new (the warning).
    ASSERT_TRUE(truncate(install.log()));
    ASSERT_TRUE(append(install.log(), line("truncated") + line(stop)));
    expect_warning(gui, gui.box(row_timeout_ms));
    EXPECT_EQ((std::vector<Row>{row("after clear"), row("truncated"), row(stop)}), gui.rows());

    // Renamed away and a new log made; then deleted and made again.
    ASSERT_TRUE(MoveFileExA(install.log().c_str(), install.dir.file("ryxc.log.1").c_str(), 0));
    ASSERT_TRUE(append(install.log(), line("rotated")));
    ASSERT_TRUE(gui.wait_for_count(4));
    EXPECT_EQ(row("rotated"), gui.reader->row(3));
    ASSERT_TRUE(DeleteFileA(install.log().c_str()));
    // The client retries until the name is free again.
    ASSERT_TRUE(wait_until([&] { return append(install.log(), line("deleted and made anew")); }));
    ASSERT_TRUE(gui.wait_for_count(5));
    EXPECT_EQ(row("deleted and made anew"), gui.reader->row(4));
    EXPECT_EQ(nullptr, gui.box());
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
    const Installation install;
    const LogGui gui;
    ASSERT_TRUE(gui.ready());
    EXPECT_EQ(0, gui.count());

    // Made while the program waits: shown whole, up to the limit, with no warning.
    ASSERT_TRUE(append(install.log(), numbered(1, 1002, 500)));
    ASSERT_TRUE(gui.wait_for_count(1001));
    std::vector<Row> expected = numbered_rows(2, 1002);
    expected[498] = row(stop);
    EXPECT_EQ(expected, gui.rows());
    EXPECT_TRUE(gui.reader->shows_last_row())
        << SendMessageA(gui.list, LVM_GETTOPINDEX, 0, 0) << " "
        << SendMessageA(gui.list, LVM_GETCOUNTPERPAGE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(gui.logging_page));
    ASSERT_TRUE(append(install.log(), line("line 1003")));
    ASSERT_TRUE(wait_until([&] { return gui.reader->row(1000) == row("line 1003"); }));
    EXPECT_EQ(1001, gui.count());
    EXPECT_EQ(nullptr, gui.box());

    // 1002 more, followed line by line: the oldest rows go first.
    ASSERT_TRUE(append(install.log(), numbered(1004, 2005)));
    ASSERT_TRUE(wait_until([&] { return gui.reader->row(1000) == row("line 2005"); }));
    EXPECT_EQ(numbered_rows(1005, 2005), gui.rows());
    EXPECT_TRUE(gui.reader->shows_last_row());
}

TEST(LogViewer, TheStandInClientQuittingWithoutAServerBringsTheWarning) {
    const DemoInstallation demo;
    ASSERT_TRUE(demo.install());
    write_bytes(demo.file("ryxc.conf"), "# no server\n");
    // A log from an earlier run, so that the program has caught up before the client starts.
    ASSERT_TRUE(append(demo.file("ryxc.log"), line("earlier run")));
    const LogGui gui;
    ASSERT_TRUE(gui.ready());
    ASSERT_TRUE(gui.wait_for_count(1));

    ServiceControl service("ryx");
    ASSERT_TRUE(service.start());
    const HWND box = gui.box(start_timeout_ms);
    const std::vector<Row> rows = gui.rows();
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ("Starting tunnel client", rows[1].second);
    EXPECT_EQ(stop, rows.back().second);
    expect_warning(gui, box);
    EXPECT_EQ(SERVICE_STOPPED, wait_for_state(service, SERVICE_STOPPED, start_timeout_ms));
}

} // namespace
