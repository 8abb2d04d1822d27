// The Logging list's menu as it opens: its texts, and which of its items it offers.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <string>

#include "app/startup.h"
#include "config/bounded_text.h"
#include "log/log_list_actions.h"
#include "support/temp_dir.h"
#include "ui/window_object.h"

namespace {

// Notes the items of a menu it owns as the menu opens, and closes it again at once.
class MenuOwner : public WindowObject {
public:
    MenuOwner()
        : WindowObject("RyxTestMenuOwner", "", WS_OVERLAPPEDWINDOW, nullptr,
                       GetModuleHandleA(nullptr)) {}
    LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override {
        if (message == WM_INITMENUPOPUP) {
            const auto menu = reinterpret_cast<HMENU>(wparam);
            for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                char text[64] = {};
                GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
                const bool grey = (GetMenuState(menu, i, MF_BYPOSITION) & MF_GRAYED) != 0;
                items += std::string(text) + (grey ? " (grey)|" : "|");
            }
            EndMenu();
        }
        return DefWindowProcA(window, message, wparam, lparam);
    }
    std::string items;
};

} // namespace

TEST(LogListMenu, CopyForASelectionAndTheLogWhereTheShellCanOpenIt) {
    const TempDir dir;
    write_bytes(dir.file("ryxc.log"), "");
    // A file the shell could not be handed: a path of 260 characters, one past its limit.
    const std::string too_long = dir.file(std::string(259 - dir.path().size(), 'x').c_str());
    write_bytes(too_long, "");
    ASSERT_EQ(260u, too_long.size());
    ASSERT_TRUE(file_exists(too_long)); // else the case below proves nothing

    MenuOwner owner;
    owner.create();
    const HWND list = CreateWindowExA(0, WC_LISTVIEWA, nullptr, WS_CHILD | LVS_REPORT, 0, 0, 100,
                                      100, owner.handle(), nullptr, nullptr, nullptr);
    LVITEMA row = {};
    row.mask = LVIF_TEXT;
    row.pszText = const_cast<char*>("row");
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row));

    const struct {
        std::string log;
        bool selected;
        const char* items;
    } cases[] = {
        {dir.file("ryxc.log"), false, "Copy (grey)|Select all|Open log file|"},
        {dir.file("ryxc.log"), true, "Copy|Select all|Open log file|"},
        {dir.file("missing.log"), true, "Copy|Select all|Open log file (grey)|"},
        {dir.path(), true, "Copy|Select all|Open log file (grey)|"},
        {too_long, true, "Copy|Select all|Open log file (grey)|"},
    };
    for (const auto& c : cases) {
        copy_text(log_file_path, path_capacity, c.log.c_str());
        ListView_SetItemState(list, 0, c.selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
        owner.items.clear();
        LogListActions(list).show_menu(owner.handle(), MAKELPARAM(10, 10));
        EXPECT_EQ(c.items, owner.items) << c.log;
    }
}
