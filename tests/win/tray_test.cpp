// The notification area's parts that Windows decides: the user's settings and the Run value as
// other programs may have left them in the registry, and the icon's menu as it is built.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/start_with_windows.h"
#include "app/tray_window.h"
#include "app/user_settings.h"
#include "base/loaded_string.h"
#include "res/resource.h"

namespace {

using namespace std::string_literals; // "...\0"s: a value with its terminator

constexpr DWORD no_value = 0xFFFF; // not a registry type

// A value under HKEY_CURRENT_USER written as any program might; removed with no_value.
void set_value(const char* key, const char* name, DWORD type, const std::string& bytes) {
    HKEY opened = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE,
                                             nullptr, &opened, nullptr));
    if (type == no_value) {
        RegDeleteValueA(opened, name);
    } else {
        EXPECT_EQ(ERROR_SUCCESS,
                  RegSetValueExA(opened, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())));
    }
    RegCloseKey(opened);
}

std::string run_value() {
    char data[1024] = {};
    DWORD size = sizeof data;
    return RegGetValueA(HKEY_CURRENT_USER, StartWithWindows::run_key, StartWithWindows::value_name,
                        RRF_RT_REG_SZ, nullptr, data, &size) == ERROR_SUCCESS
               ? data
               : "(none)";
}

bool run_value_exists() {
    return RegGetValueA(HKEY_CURRENT_USER, StartWithWindows::run_key, StartWithWindows::value_name,
                        RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::string this_program() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string upper(std::string text) {
    CharUpperA(&text[0]);
    return text;
}

} // namespace

TEST(UserSettings, AValueOfAnotherTypeOrSizeIsTheDefault) {
    const struct {
        DWORD type;
        std::string bytes;
        bool when_on_by_default, when_off_by_default;
    } cases[] = {
        {no_value, "", true, false},
        {REG_DWORD, "\0\0\0\0"s, false, false},
        {REG_DWORD, "\1\0\0\0"s, true, true},
        {REG_DWORD, "\0\0\0\1"s, true, true}, // any bit
        {REG_DWORD, "\1\0"s, true, false},    // too short
        {REG_DWORD, ""s, true, false},
        {REG_QWORD, "\0\0\0\0\0\0\0\0"s, true, false},
        {REG_SZ, "0\0"s, true, false},
        {REG_SZ, "1\0"s, true, false},
        {REG_BINARY, "\0\0\0\0"s, true, false},
        {REG_DWORD_BIG_ENDIAN, "\0\0\0\0"s, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        set_value(UserSettings::key, UserSettings::notify, c.type, c.bytes);
        EXPECT_EQ(c.when_on_by_default, UserSettings::read(UserSettings::notify, true));
        EXPECT_EQ(c.when_off_by_default, UserSettings::read(UserSettings::notify, false));
    }
    // Written back as a DWORD, whatever was there.
    ASSERT_TRUE(UserSettings::write(UserSettings::notify, false));
    EXPECT_FALSE(UserSettings::read(UserSettings::notify, true));
    ASSERT_TRUE(UserSettings::write(UserSettings::notify, true));
    EXPECT_TRUE(UserSettings::read(UserSettings::notify, false));
    RegDeleteTreeA(HKEY_CURRENT_USER, UserSettings::key);
    EXPECT_TRUE(UserSettings::read(UserSettings::notify, true)); // no key at all
}

TEST(StartWithWindows, TickedOnlyForAValueThatStartsThisVeryProgram) {
    const std::string self = this_program();
    const std::string folder = self.substr(0, self.find_last_of('\\'));
    SetEnvironmentVariableA("RYX_TEST_FOLDER", folder.c_str());
    const struct {
        DWORD type;
        std::string command;
        bool ticked;
    } cases[] = {
        {REG_SZ, "\"" + self + "\" --tray", true},
        {REG_SZ, "\"" + upper(self) + "\"", true}, // file names ignore case
        {REG_SZ, "  " + self + " --tray", true},   // unquoted, spaces and all
        {REG_SZ, self, true},
        {REG_EXPAND_SZ, "\"%RYX_TEST_FOLDER%" + self.substr(folder.size()) + "\" --tray", true},
        {REG_SZ, "\"C:\\Other\\" + self.substr(folder.size() + 1) + "\" --tray", false},
        {REG_SZ, "\"" + self + ".old\" --tray", false},
        {REG_SZ, self + "x --tray", false},
        {REG_SZ, "\"" + self, false}, // no closing quote
        {REG_SZ, "", false},
        {REG_BINARY, "\"" + self + "\"", false},
        {REG_DWORD, "\1\0\0\0"s, false},
        {no_value, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        set_value(StartWithWindows::run_key, StartWithWindows::value_name, c.type,
                  c.command + (c.type == REG_DWORD ? "" : "\0"s));
        EXPECT_EQ(c.ticked, StartWithWindows::is_on());
        // Unticking removes only a value of this program's; another's stays as it was.
        EXPECT_EQ(c.ticked, StartWithWindows::turn_off());
        EXPECT_EQ(c.type != no_value && !c.ticked, run_value_exists());
    }
    // Ticking writes this program's own command, over whatever was there.
    set_value(StartWithWindows::run_key, StartWithWindows::value_name, REG_SZ,
              "\"C:\\Other\\ryxgui.exe\"\0"s);
    ASSERT_TRUE(StartWithWindows::turn_on());
    EXPECT_EQ("\"" + self + "\" --tray", run_value());
    EXPECT_TRUE(StartWithWindows::is_on());
    EXPECT_TRUE(StartWithWindows::turn_off());
    EXPECT_EQ("(none)", run_value());
}

TEST(StartWithWindows, TrayStartAskedByTheWholeArgumentOnly) {
    EXPECT_TRUE(StartWithWindows::asks_for_tray("--tray"));
    EXPECT_TRUE(StartWithWindows::asks_for_tray("  --start\t--tray "));
    EXPECT_FALSE(StartWithWindows::asks_for_tray(""));
    EXPECT_FALSE(StartWithWindows::asks_for_tray("--trayx"));
    EXPECT_FALSE(StartWithWindows::asks_for_tray("x--tray"));
    EXPECT_FALSE(StartWithWindows::asks_for_tray("--TRAY"));
}

// The menu as the icon offers it, read in this process (Wine reads no menu of another).
TEST(TrayMenu, ItemsInOrderOpenTheDefaultStartAndStopAsTheButtonsTheChoicesTicked) {
    const auto text = [](unsigned id) { return std::string(LoadedString(id).c_str()); };
    const TrayWindow::MenuChoices choices[] = {
        {true, false, true, false, true, false, true, false},
        {false, true, false, true, false, true, false, true},
    };
    const HBITMAP shield = CreateBitmap(16, 16, 1, 32, nullptr);
    for (const auto& c : choices) {
        const HMENU menu = TrayWindow::make_menu(c, shield);
        ASSERT_NE(nullptr, menu);
        std::string items;
        for (int at = 0; at < GetMenuItemCount(menu); ++at) {
            char label[256] = {};
            MENUITEMINFOA item = {};
            item.cbSize = sizeof item;
            item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_BITMAP;
            item.dwTypeData = label;
            item.cch = sizeof label;
            ASSERT_TRUE(GetMenuItemInfoA(menu, at, TRUE, &item));
            if (item.fType & MFT_SEPARATOR) {
                items += "-|"; // greyed by nature
                continue;
            }
            items += label;
            items += (item.fState & MFS_DEFAULT) ? "*" : "";
            items += (item.fState & MFS_GRAYED) ? "(grey)" : "";
            items += (item.fState & MFS_CHECKED) ? "(ticked)" : "";
            items += item.hbmpItem == shield ? "(shield)" : "";
            items += "|";
        }
        const auto grey = [](bool enabled) { return enabled ? "" : "(grey)"; };
        const auto tick = [](bool on) { return on ? "(ticked)" : ""; };
        const auto shielded = [](bool on) { return on ? "(shield)" : ""; };
        EXPECT_EQ(text(IDS_TRAY_OPEN) + "*|" + text(IDS_START) + grey(c.start) +
                      shielded(c.start_shield) + "|" + text(IDS_STOP) + grey(c.stop) +
                      shielded(c.stop_shield) + "|" + text(IDS_OPEN_LOG_FILE) +
                      grey(c.open_log_file) + "|-|" + text(IDS_TRAY_START_WITH_WINDOWS) +
                      tick(c.start_with_windows) + "|" + text(IDS_TRAY_NOTIFY) + tick(c.notify) +
                      "|" + text(IDS_TRAY_MINIMISE) + tick(c.minimise_to_tray) + "|-|" +
                      text(IDS_TRAY_QUIT) + "|",
                  items);
        DestroyMenu(menu);
    }
    DeleteObject(shield);
}
