// The Logging list's menu greys what it cannot do; the end-to-end walk uses each item where it
// is offered.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <string>

#include "app/owned_handle.h"
#include "app/startup.h"
#include "config/bounded_text.h"
#include "log/log_list_actions.h"
#include "support/temp_dir.h"

TEST(LogListMenu, CopyWithoutASelectionAndALogTheShellCannotOpenAreGrey) {
    const TempDir dir;
    copy_text(log_file_path, path_capacity, dir.path().c_str()); // a folder
    const OwnedHandle<HWND, BOOL> list(CreateWindowExA(0, WC_LISTVIEWA, nullptr, WS_POPUP, 0, 0, 9,
                                                       9, nullptr, nullptr, nullptr, nullptr),
                                       DestroyWindow);
    const OwnedHandle<HMENU, BOOL> menu(LogListActions(list.get()).make_menu(), DestroyMenu);
    std::string items;
    for (int i = 0; i < GetMenuItemCount(menu.get()); ++i) {
        char text[64] = {};
        GetMenuStringA(menu.get(), i, text, sizeof text, MF_BYPOSITION);
        const bool grey = (GetMenuState(menu.get(), i, MF_BYPOSITION) & MF_GRAYED) != 0;
        items += std::string(text) + (grey ? " (grey)|" : "|");
    }
    EXPECT_EQ("Copy (grey)|Select all|Open log file (grey)|", items);
}
