// The Logging list's menu: its texts, and which of its items it offers.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <string>

#include "app/owned_handle.h"
#include "app/startup.h"
#include "config/bounded_text.h"
#include "log/log_list_actions.h"
#include "support/temp_dir.h"

TEST(LogListMenu, CopyForASelectionAndTheLogWhereTheShellCanOpenIt) {
    const TempDir dir;
    const OwnedHandle<HWND, BOOL> list(CreateWindowExA(0, WC_LISTVIEWA, nullptr, WS_POPUP, 0, 0, 9,
                                                       9, nullptr, nullptr, nullptr, nullptr),
                                       DestroyWindow);
    LVITEMA row = {};
    SendMessageA(list.get(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row));
    const struct {
        std::string log;
        UINT selected;
        const char* items;
    } cases[] = {
        // With a selection and a log that is there all three are offered: the end-to-end walk
        // uses them.
        {dir.file("missing.log"), 0, "Copy (grey)|Select all|Open log file (grey)|"},
        {dir.path(), LVIS_SELECTED, "Copy|Select all|Open log file (grey)|"}, // a folder
    };
    for (const auto& c : cases) {
        copy_text(log_file_path, path_capacity, c.log.c_str());
        ListView_SetItemState(list.get(), 0, c.selected, LVIS_SELECTED);
        const OwnedHandle<HMENU, BOOL> menu(LogListActions(list.get()).make_menu(), DestroyMenu);
        std::string items;
        for (int i = 0; i < GetMenuItemCount(menu.get()); ++i) {
            char text[64] = {};
            GetMenuStringA(menu.get(), i, text, sizeof text, MF_BYPOSITION);
            const bool grey = (GetMenuState(menu.get(), i, MF_BYPOSITION) & MF_GRAYED) != 0;
            items += std::string(text) + (grey ? " (grey)|" : "|");
        }
        EXPECT_EQ(c.items, items) << c.log;
    }
}
