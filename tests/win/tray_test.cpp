// The notification area's parts that Windows decides: the Run value as this program or another
// copy of it may have left it in the registry, and the icon's menu as it is built.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/start_with_windows.h"
#include "app/tray_window.h"
#include "base/loaded_string.h"
#include "e2e/program_driver.h"
#include "res/resource.h"

namespace {

// The Run value, as Start with Windows of a program at this path would write it; none for "".
void set_run_value(const std::string& command) {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, StartWithWindows::run_key, StartWithWindows::value_name);
    if (!command.empty()) {
        RegSetKeyValueA(HKEY_CURRENT_USER, StartWithWindows::run_key, StartWithWindows::value_name,
                        REG_SZ, command.c_str(), static_cast<DWORD>(command.size() + 1));
    }
}

std::string run_value() {
    return user_registry_text(StartWithWindows::run_key, StartWithWindows::value_name);
}

} // namespace

// Another copy of the program, elsewhere, keeps its own value.
TEST(StartWithWindows, TickedOnlyForAValueThatStartsThisVeryProgram) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string self = path, name = self.substr(self.find_last_of('\\'));
    std::string upper = self;
    CharUpperA(&upper[0]);
    const struct {
        std::string command;
        bool ticked;
    } cases[] = {
        {"\"" + self + "\" --tray", true},
        {"\"" + upper + "\" --tray", true}, // started once by a path in other case
        {"\"C:\\Other" + name + "\" --tray", false},
        {"\"" + self + ".old\" --tray", false},
        {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        set_run_value(c.command);
        EXPECT_EQ(c.ticked, StartWithWindows::is_on());
        // Unticking removes only a value of this program's; another's stays as it was.
        EXPECT_EQ(c.ticked, StartWithWindows::turn_off());
        EXPECT_EQ(c.ticked || c.command.empty() ? "none" : c.command, run_value());
    }
    // Ticking writes this program's own command, over another's.
    set_run_value("\"C:\\Other" + name + "\"");
    ASSERT_TRUE(StartWithWindows::turn_on());
    EXPECT_EQ("\"" + self + "\" --tray", run_value());
    set_run_value("");
}

// The menu as the icon offers it, read in this process (Wine reads no menu of another).
TEST(TrayMenu, ItemsInOrderOpenTheDefaultStartAndStopAsTheButtonsTheChoicesTicked) {
    const auto item = [](unsigned text_id, const char* marks = "") {
        return LoadedString(text_id).c_str() + std::string(marks) + "|";
    };
    const HBITMAP shield = CreateBitmap(16, 16, 1, 32, nullptr);
    const struct {
        TrayWindow::MenuChoices choices;
        std::string items;
    } cases[] = {
        {{true, false, true, false, true, false, true, false},
         item(IDS_TRAY_OPEN, "*") + item(IDS_START, "(shield)") + item(IDS_STOP, "(grey)") +
             item(IDS_OPEN_LOG_FILE) + "-|" + item(IDS_TRAY_START_WITH_WINDOWS) +
             item(IDS_TRAY_NOTIFY, "(ticked)") + item(IDS_TRAY_MINIMISE) + "-|" +
             item(IDS_TRAY_QUIT)},
        {{false, true, false, true, false, true, false, true},
         item(IDS_TRAY_OPEN, "*") + item(IDS_START, "(grey)") + item(IDS_STOP, "(shield)") +
             item(IDS_OPEN_LOG_FILE, "(grey)") + "-|" +
             item(IDS_TRAY_START_WITH_WINDOWS, "(ticked)") + item(IDS_TRAY_NOTIFY) +
             item(IDS_TRAY_MINIMISE, "(ticked)") + "-|" + item(IDS_TRAY_QUIT)},
    };
    for (const auto& c : cases) {
        const HMENU menu = TrayWindow::make_menu(c.choices, shield);
        std::string items;
        for (int at = 0; at < GetMenuItemCount(menu); ++at) {
            char label[256] = {};
            MENUITEMINFOA item = {sizeof item,
                                  MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_BITMAP,
                                  0,
                                  0,
                                  0,
                                  nullptr,
                                  nullptr,
                                  nullptr,
                                  0,
                                  label,
                                  sizeof label,
                                  nullptr};
            GetMenuItemInfoA(menu, at, TRUE, &item);
            const bool separator = (item.fType & MFT_SEPARATOR) != 0; // greyed by nature
            items += (separator ? std::string("-") : label) +
                     (item.fState & MFS_DEFAULT ? "*" : "") +
                     (item.fState & MFS_GRAYED && !separator ? "(grey)" : "") +
                     (item.fState & MFS_CHECKED ? "(ticked)" : "") +
                     (item.hbmpItem == shield ? "(shield)" : "") + "|";
        }
        EXPECT_EQ(c.items, items);
        DestroyMenu(menu);
    }
    DeleteObject(shield);
}
