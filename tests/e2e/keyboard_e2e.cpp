// The program used from the keyboard alone, with real key presses into the window in front.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "e2e/program_driver.h"
#include "res/resource.h"
#include "win/demo_installation.h"

namespace {

const std::string credentials = "server=first.example\nauth_method=plain\nuserid=u\npasswd=p\n";

// The focused control's id: -1 for none, 0 for the tab strip.
int focused_id(HWND window) {
    const HWND focus = focus_of(window);
    return focus == nullptr ? -1 : GetDlgCtrlID(focus);
}

// The ids the Tab key visits from where the focus is, one press each.
std::vector<int> tab_through(HWND window, int presses, bool backwards = false) {
    std::vector<int> visited;
    for (int press_count = 0; press_count < presses; ++press_count) {
        const int before = focused_id(window);
        backwards ? press({VK_SHIFT, VK_TAB}) : press({VK_TAB});
        wait_until([&] { return focused_id(window) != before; }, 2000, 5);
        visited.push_back(focused_id(window));
    }
    return visited;
}

void type(const std::string& text) {
    for (const char c : text) {
        const SHORT key = VkKeyScanA(c);
        (HIBYTE(key) & 1) != 0 ? press({VK_SHIFT, LOBYTE(key)}) : press({LOBYTE(key)});
    }
}

} // namespace

TEST(Keyboard, EveryWindowWorksFromTheKeyboardAlone) {
    const ProgramDriver gui(ProgramDriver::Installation{credentials});
    ASSERT_TRUE(gui.ready());
    const HWND window = gui.main_window();
    SetForegroundWindow(window);
    // At start-up on the Config page's first field; Tab in reading order, then the tab strip
    // (Stop and Start, disabled without a service, are passed over).
    EXPECT_TRUE(wait_until([&] { return focused_id(window) == IDC_SERVER; }));
    EXPECT_EQ((std::vector<int>{IDC_ANONYMOUS, IDC_USERNAME, IDC_PASSWORD, IDC_ADVANCED, IDC_CANCEL,
                                IDC_DEFAULT, IDC_APPLY, 0, IDC_SERVER}),
              tab_through(window, 9));
    EXPECT_EQ((std::vector<int>{0, IDC_APPLY}), tab_through(window, 2, true));

    // Ctrl+Tab to the Logging page's list, Tab to Clear and the strip; back with Ctrl+Shift+Tab.
    press({VK_CONTROL, VK_TAB});
    EXPECT_TRUE(wait_until([&] { return focused_id(window) == IDC_LOG_LIST; }));
    EXPECT_TRUE(IsWindowVisible(gui.logging_page()));
    EXPECT_EQ((std::vector<int>{IDC_CLEAR, 0}), tab_through(window, 2));
    press({VK_CONTROL, VK_SHIFT, VK_TAB});
    EXPECT_TRUE(wait_until([&] { return focused_id(window) == IDC_SERVER; }));

    // An access key moves to the field its label names; the Advanced window's opens it on its
    // first field. Esc closes it without storing, and the focus is back on its button.
    press({VK_MENU, 'U'});
    EXPECT_TRUE(wait_until([&] { return focused_id(window) == IDC_USERNAME; }));
    const auto open_advanced = [&] {
        press({VK_MENU, 'V'});
        const HWND advanced = gui.wait_for_window("AdvancedDialog", nullptr, 5000);
        EXPECT_TRUE(wait_until([&] { return focused_id(advanced) == IDC_AUTH_METHOD; }));
        return advanced;
    };
    HWND advanced = open_advanced();
    const HWND address = GetDlgItem(advanced, IDC_CLIENT_ADDRESS);
    EXPECT_EQ((std::vector<int>{IDC_TUNNEL_MODE, IDC_CLIENT_ADDRESS}), tab_through(advanced, 2));
    type("10.0.0.9");
    press({VK_ESCAPE});
    EXPECT_TRUE(wait_until([&] { return !IsWindowVisible(advanced); }));
    EXPECT_TRUE(wait_until([&] { return focused_id(window) == IDC_ADVANCED; }));
    // Enter is Ok, which stores.
    advanced = open_advanced();
    EXPECT_EQ("auto", window_text(address));
    tab_through(advanced, 2);
    type("10.0.0.9");
    press({VK_RETURN});
    EXPECT_TRUE(wait_until([&] { return !IsWindowVisible(advanced); }));
    advanced = open_advanced();
    EXPECT_EQ("10.0.0.9", window_text(address));
    press({VK_ESCAPE});

    // Enter on the page is Apply.
    press({VK_MENU, 'R'});
    EXPECT_TRUE(wait_until([&] { return focused_id(window) == IDC_SERVER; }));
    press({VK_HOME});
    press({VK_SHIFT, VK_END});
    type("k.example");
    press({VK_RETURN});
    EXPECT_TRUE(wait_until([&] {
        return read_bytes(gui.file("ryxc.conf")).find("server=k.example\r\n") != std::string::npos;
    }));

    // Start from the keyboard: the button disables itself, and the keys go on.
    const DemoInstallation demo(gui.install_dir());
    ASSERT_TRUE(demo.install());
    const HWND start = GetDlgItem(window, IDC_START);
    ASSERT_TRUE(wait_until([&] { return IsWindowEnabled(start) != FALSE; }));
    press({VK_MENU, 'S'});
    EXPECT_TRUE(wait_until([&] { return !IsWindowEnabled(start); }));
    EXPECT_NE(-1, focused_id(window));
    press({VK_TAB});
    EXPECT_TRUE(wait_until([&] { return focused_id(window) != -1; }));
}

// Closing with changes the user did not apply asks about them first: Cancel stays, No quits
// writing nothing, Yes applies and quits.
TEST(Keyboard, ClosingWithUnappliedChangesOffersToApplyThem) {
    for (const int answer : {IDNO, IDYES}) {
        const ProgramDriver gui(ProgramDriver::Installation{credentials});
        ASSERT_TRUE(gui.ready());
        SetForegroundWindow(gui.main_window());
        ASSERT_TRUE(wait_until([&] { return focused_id(gui.main_window()) == IDC_SERVER; }));
        type("x");
        ASSERT_TRUE(wait_until([&] {
            return window_text(GetDlgItem(gui.config_page(), IDC_SERVER)) != "first.example";
        })) << window_text(GetDlgItem(gui.config_page(), IDC_SERVER));
        for (const int button : {IDCANCEL, answer}) {
            PostMessageA(gui.main_window(), WM_CLOSE, 0, 0);
            EXPECT_EQ("Apply your changes before quitting?|RYX Client GUI", gui.answer_box(button));
        }
        EXPECT_EQ(0u, gui.exit_code(5000));
        EXPECT_EQ(answer == IDYES, read_bytes(gui.file("ryxc.conf")) != credentials);
    }
}
