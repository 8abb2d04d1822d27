// The Logging page's list as the window's thread fills it: real list views, rows added as the
// follower's batches bring them.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <string>
#include <vector>

#include "log/log_list_actions.h"
#include "log/logging_page.h"
#include "res/resource.h"

namespace {

std::vector<LogRow> rows_of(int first, int last) {
    std::vector<LogRow> rows;
    for (int n = first; n <= last; ++n) {
        rows.push_back({"2024/05/17 12:00:00", "line " + std::to_string(n)});
    }
    return rows;
}

std::string cell(HWND list, int row) {
    char text[64] = {};
    ListView_GetItemText(list, row, 1, text, sizeof text);
    return text;
}

// A Logging page shown in a window of its own, as the main window shows it.
struct Shown {
    Shown() {
        const RECT area = {1, 25, 620, 434};
        page = std::make_unique<LoggingPage>(GetModuleHandleA(nullptr), frame, &area, 96,
                                             static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)),
                                             "C:\\none\\ryxc.log");
        page->create();
        page->activate();
        list = GetDlgItem(page->handle(), IDC_LOG_LIST);
    }
    ~Shown() {
        page.reset();
        DestroyWindow(frame);
    }
    // A window that passes what its children tell it to DefWindowProc, as any frame would.
    HWND frame = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 646, 526,
                                 nullptr, nullptr, nullptr, nullptr);
    std::unique_ptr<LoggingPage> page;
    HWND list;
};

} // namespace

TEST(LogList, SelectedRowsStaySelectedWhenTheOldestGo) {
    Shown shown;
    shown.page->add_rows(rows_of(1, 1001));
    for (const int row : {499, 500, 1000}) {
        ListView_SetItemState(shown.list, row, LVIS_SELECTED, LVIS_SELECTED);
    }
    ListView_SetItemState(shown.list, 500, LVIS_FOCUSED, LVIS_FOCUSED);
    shown.page->add_rows(rows_of(1002, 1101));
    ASSERT_EQ(1001, ListView_GetItemCount(shown.list));
    EXPECT_EQ("line 101", cell(shown.list, 0));
    std::vector<std::string> selected;
    for (int row = ListView_GetNextItem(shown.list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(shown.list, row, LVNI_SELECTED)) {
        selected.push_back(cell(shown.list, row));
    }
    EXPECT_EQ((std::vector<std::string>{"line 500", "line 501", "line 1001"}), selected);
    EXPECT_EQ("line 501", cell(shown.list, ListView_GetNextItem(shown.list, -1, LVNI_FOCUSED)));
    // Every row selected: the rows that stay stay selected, the new ones come unselected.
    ListView_SetItemState(shown.list, -1, LVIS_SELECTED, LVIS_SELECTED);
    shown.page->add_rows(rows_of(1102, 1111));
    EXPECT_EQ(991u, ListView_GetSelectedCount(shown.list));
    EXPECT_EQ("line 111", cell(shown.list, ListView_GetNextItem(shown.list, -1, LVNI_SELECTED)));
    EXPECT_EQ(0, ListView_GetItemState(shown.list, 1000, LVIS_SELECTED));
}

TEST(LogList, TheKeyboardsMenuOpensUnderTheFocusedRowOnlyWhenItIsInView) {
    Shown shown;
    shown.page->add_rows(rows_of(1, 300));
    ListView_SetItemState(shown.list, 0, LVIS_FOCUSED, LVIS_FOCUSED);
    ListView_EnsureVisible(shown.list, 299, FALSE); // the focused row scrolled away
    const LogList rows(shown.list);
    const LogListActions actions(rows, "");
    // Screen points as "x,y", in the list's client coordinates where given.
    const auto at = [&](POINT point, bool client = false) {
        if (client) {
            ClientToScreen(shown.list, &point);
        }
        return std::to_string(point.x) + "," + std::to_string(point.y);
    };
    const LPARAM keyboard = MAKELPARAM(-1, -1);
    EXPECT_EQ(at({0, 0}, true), at(actions.menu_point(keyboard)));
    ListView_SetItemState(shown.list, 299, LVIS_FOCUSED, LVIS_FOCUSED);
    RECT row = {};
    ListView_GetItemRect(shown.list, 299, &row, LVIR_LABEL);
    EXPECT_EQ(at({row.left, row.bottom}, true), at(actions.menu_point(keyboard)));
    // A point the mouse gives stays as it is.
    EXPECT_EQ("30,40", at(actions.menu_point(MAKELPARAM(30, 40))));
}
