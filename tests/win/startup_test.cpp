#include <gtest/gtest.h>
#include <string>

#include "e2e/program_driver.h"
#include "win/registry_fixture.h"

namespace {

constexpr DWORD timeout_ms = 20000;
constexpr DWORD exit_timeout_ms = 500; // gone soon after OK

} // namespace

TEST(Startup, WithoutInstallationShowsOnlyTheErrorBoxAndExitsWithOne) {
    const RegistryFixture registry;
    const ProgramDriver gui(ryxgui_command());

    const HWND box = gui.wait_for_window("#32770", nullptr, timeout_ms);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("Error: No valid RYX Client installed.\n", message_box_text(box));
    EXPECT_EQ("Error", window_text(box)); // the system's default caption
    EXPECT_EQ(nullptr, GetWindow(box, GW_OWNER));
    EXPECT_EQ(nullptr, GetDlgItem(box, IDCANCEL));
    EXPECT_EQ(nullptr, GetDlgItem(box, IDNO));
    EXPECT_EQ(1, gui.count_windows());

    ASSERT_TRUE(press_button(box, IDOK));
    DWORD exit_code = 0;
    ASSERT_TRUE(gui.wait_for_exit(exit_timeout_ms, exit_code));
    EXPECT_EQ(1u, exit_code);
}
