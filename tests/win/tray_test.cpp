// Start with Windows as the registry decides it: the Run value as this program or another copy
// of it may have left it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/start_with_windows.h"
#include "e2e/program_driver.h"

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

// Another copy of the program, elsewhere (its path this one's and more), keeps its own value.
TEST(StartWithWindows, TickedOnlyForAValueThatStartsThisVeryProgram) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string self = path;
    std::string upper = self;
    CharUpperA(&upper[0]);
    const struct {
        std::string command;
        bool ticked;
    } cases[] = {
        {"\"" + self + "\" --tray", true},
        {"\"" + upper + "\" --tray", true}, // started once by a path in other case
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
    set_run_value("\"" + self + ".old\"");
    ASSERT_TRUE(StartWithWindows::turn_on());
    EXPECT_EQ("\"" + self + "\" --tray", run_value());
    set_run_value("");
}
