// The Config page and the Advanced window driven as a user would, against real files: each
// case a list of steps.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "config/config_record.h"
#include "config/config_writer.h"
#include "config/file_calls.h"
#include "e2e/program_driver.h"
#include "res/resource.h"
#include "support/temp_dir.h"

namespace {

const std::vector<int> page_ids = {IDC_SERVER, IDC_ANONYMOUS, IDC_USERNAME, IDC_PASSWORD};
const std::vector<int> advanced_ids = {
    IDC_AUTH_METHOD,        IDC_TUNNEL_MODE,    IDC_CLIENT_ADDRESS, IDC_KEEPALIVE,
    IDC_KEEPALIVE_INTERVAL, IDC_REQUEST_PREFIX, IDC_PREFIX_GROUP,   IDC_PREFIX_LENGTH,
    IDC_RTADV_INTERFACE,    IDC_DNS_SERVER};

// A step: type text into a control, click it, pick a list position (text), click and expect a
// box with the text (closed then), expect the page, open the Advanced window and expect it,
// close that window by a control (0: its close box), switch to the Logging tab and back, expect
// ryxc.conf to hold the text.
enum class Do { type, click, pick, box, page, advanced, close, tab, file };
struct Step {
    Do action;
    int id;
    std::string text;
};

// The controls as shown, in one line: each one's text ("[x]" or "[ ]" for a check box), with
// "-" after a disabled one, joined by "|". The Prefix group holds controls of its own.
std::string view(HWND window, const std::vector<int>& ids) {
    std::string seen;
    for (const int id : ids) {
        const HWND c = GetDlgItem(window, id)
                           ? GetDlgItem(window, id)
                           : GetDlgItem(GetDlgItem(window, IDC_PREFIX_GROUP), id);
        const bool box = id == IDC_ANONYMOUS || id == IDC_KEEPALIVE || id == IDC_REQUEST_PREFIX;
        const bool checked = SendMessageA(c, BM_GETCHECK, 0, 0) == BST_CHECKED;
        seen += "|" + (box ? (checked ? "[x]" : "[ ]") : window_text(c)) +
                (IsWindowEnabled(c) ? "" : "-");
    }
    return seen.substr(1);
}

void run(const ProgramDriver& gui, const std::vector<Step>& steps) {
    static HWND advanced = nullptr; // made once, shown again each time
    const HWND page = gui.config_page();
    for (const Step& step : steps) {
        SCOPED_TRACE(&step - steps.data());
        const bool shown = advanced != nullptr && IsWindowVisible(advanced);
        HWND c = GetDlgItem(shown ? advanced : page, step.id);
        c = c ? c : GetDlgItem(GetDlgItem(advanced, IDC_PREFIX_GROUP), step.id);
        switch (step.action) {
        case Do::type:
            EXPECT_TRUE(set_text(c, step.text));
            break;
        case Do::click:
            EXPECT_TRUE(click(c));
            break;
        case Do::pick:
            SendMessageA(c, CB_SETCURSEL, std::stoi(step.text), 0);
            break;
        case Do::box: {
            PostMessageA(c, BM_CLICK, 0, 0);
            const HWND box = gui.wait_for_box();
            EXPECT_EQ(step.text, message_box_text(box) + "|" + window_text(box));
            EXPECT_TRUE(dismiss(box));
            break;
        }
        case Do::page:
            EXPECT_EQ(step.text, view(page, page_ids));
            break;
        case Do::advanced: {
            // Owned by the main window, which is disabled while it shows.
            EXPECT_TRUE(click(GetDlgItem(page, IDC_ADVANCED)));
            const HWND opened = gui.wait_for_window("AdvancedDialog", nullptr, 10000);
            EXPECT_TRUE(advanced == nullptr || advanced == opened);
            advanced = opened;
            EXPECT_EQ(gui.main_window(), GetWindow(advanced, GW_OWNER));
            EXPECT_FALSE(IsWindowEnabled(gui.main_window()));
            EXPECT_EQ(step.text, view(advanced, advanced_ids));
            break;
        }
        case Do::close: {
            // Hidden; the main window enabled again in time to take the activation back.
            EXPECT_TRUE(c ? click(c) : PostMessageA(advanced, WM_CLOSE, 0, 0) != FALSE);
            EXPECT_TRUE(wait_until([] { return !IsWindowVisible(advanced); }));
            GUITHREADINFO thread = {sizeof thread};
            GetGUIThreadInfo(GetWindowThreadProcessId(advanced, nullptr), &thread);
            EXPECT_EQ(gui.main_window(), thread.hwndActive);
            break;
        }
        case Do::tab: // the arrow keys: the same notifications as a click on a tab
            for (const HWND next : {gui.logging_page(), page}) {
                PostMessageA(gui.tabs(), WM_KEYDOWN, next == page ? VK_LEFT : VK_RIGHT, 0);
                EXPECT_TRUE(wait_until([next] { return IsWindowVisible(next) != FALSE; }));
            }
            break;
        case Do::file:
            EXPECT_EQ(step.text, read_bytes(gui.file("ryxc.conf")));
            break;
        }
    }
}

// The file as the writer lays out this record, dated t, in the platform's line ends.
std::string file_of(const ConfigRecord& record, const std::string& install_dir,
                    const SYSTEMTIME& t) {
    std::string text;
    for (const char c : config_file_text(install_dir.c_str(), record,
                                         {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute})) {
        c == '\n' ? text += text_line_end : text += c;
    }
    return text;
}

using Installed = ProgramDriver::Installation;

const std::string write_failed = "Error: The configuration file could not be written.|Error";

} // namespace

TEST(ConfigE2E, EditApplyCancelDefaultAndAdvanced) {
    const std::string file =
        "server=first.example\nauth_method=plain\nuserid=bob\npasswd=pw\ntunnel_mode=v4v6\n"
        "client_v6=2001:db8::1\n";
    const ProgramDriver gui(Installed{file, "server=default.example\nprefixlen=56\n"});
    ASSERT_TRUE(gui.ready());
    const std::string opened = "PLAIN|V4V6|2001:db8::1|[x]|0|[ ]|Prefix-|48-|4-|-";
    run(gui,
        {
            {Do::page, 0, "first.example|[ ]|bob|pw"},
            // Cancel keeps nothing: the window shows the record again when opened again.
            {Do::advanced, 0, opened},
            {Do::pick, IDC_TUNNEL_MODE, "0"},
            {Do::click, IDC_KEEPALIVE},
            {Do::close, IDC_ADV_CANCEL},
            {Do::advanced, 0, opened},
            // The check boxes switch what hangs on them; Ok stores every control, disabled ones
            // too, the address under the mode now chosen; a refused prefix length keeps the old.
            {Do::pick, IDC_TUNNEL_MODE, "1"},
            {Do::click, IDC_KEEPALIVE},
            {Do::click, IDC_REQUEST_PREFIX},
            {Do::type, IDC_KEEPALIVE_INTERVAL, "30"},
            {Do::type, IDC_PREFIX_LENGTH, "0"},
            {Do::type, IDC_DNS_SERVER, "dns.example"},
            {Do::close, IDC_ADV_OK},
            {Do::advanced, 0, "PLAIN|V6V4|2001:db8::1|[ ]|30-|[x]|Prefix|48|4|dns.example"},
            {Do::close, 0},
            // Everything missing at once: one box, a line per rule, nothing written.
            {Do::type, IDC_SERVER, ""},
            {Do::type, IDC_USERNAME, ""},
            {Do::type, IDC_PASSWORD, ""},
            {Do::box, IDC_APPLY,
             "Error: The RYX server field is mandatory.\nError: You must enter a valid username.\n"
             "Error: You must enter a valid password.\n|Error"},
            {Do::file, 0, file},
            // Anonymous disables the credentials, which keep their texts across a tab switch.
            {Do::type, IDC_USERNAME, "bob2"},
            {Do::click, IDC_ANONYMOUS},
            {Do::type, IDC_SERVER, "second.example"},
            {Do::tab},
            {Do::page, 0, "second.example|[x]|bob2-|-"},
        });

    // Apply writes what the page and the Advanced window show, dated by the clock meanwhile.
    ConfigRecord shown;
    shown.set_server("second.example");
    shown.set_tunnel_mode(1);
    shown.set_client_v4("2001:db8::1");
    shown.set_client_v6("2001:db8::1");
    shown.set_keepalive(false);
    shown.parse_keepalive_interval("30");
    shown.set_router(true);
    shown.set_dns_server("dns.example");
    SYSTEMTIME before = {}, after = {};
    GetLocalTime(&before);
    ASSERT_TRUE(click(GetDlgItem(gui.config_page(), IDC_APPLY))); // returns: no box showed
    GetLocalTime(&after);
    const std::string written = read_bytes(gui.file("ryxc.conf"));
    const std::string dir = gui.install_dir();
    EXPECT_TRUE(written == file_of(shown, dir, before) || written == file_of(shown, dir, after))
        << written;

    run(gui,
        {
            // Cancel brings back the file as read back, which kept the credentials it had.
            {Do::type, IDC_SERVER, "typed.example"},
            {Do::click, IDC_CANCEL},
            {Do::page, 0, "second.example|[x]|bob-|pw-"},
            // Default replaces the whole working record, the Advanced part too, writing nothing.
            {Do::click, IDC_DEFAULT},
            {Do::tab},
            {Do::page, 0, "default.example|[x]|-|-"},
            {Do::advanced, 0, "ANY|V6ANYV4|auto|[x]|0|[ ]|Prefix-|56-|4-|-"},
            {Do::close, IDC_ADV_CANCEL},
            {Do::file, 0, written},
        });

    // A write that fails is told; the file stays, the typed value stays on the page.
    ASSERT_TRUE(SetFileAttributesA(gui.file("ryxc.conf").c_str(), FILE_ATTRIBUTE_READONLY));
    run(gui, {{Do::type, IDC_SERVER, "new.example"},
              {Do::box, IDC_APPLY, write_failed},
              {Do::file, 0, written},
              {Do::page, 0, "new.example|[x]|-|-"}});
}

TEST(ConfigE2E, UnreadableFilesAreToldNotHidden) {
    // ryxc.conf held for the whole start-up by a program that shares nothing; the default
    // file saved as UTF-16.
    HANDLE held = INVALID_HANDLE_VALUE;
    const ProgramDriver gui(Installed{"server=kept.example\n", std::string("\xFF\xFEs\0=\0h\0", 8),
                                      [&held](const std::string& dir) {
                                          held = CreateFileA((dir + "\\ryxc.conf").c_str(),
                                                             GENERIC_READ, 0, nullptr,
                                                             OPEN_EXISTING, 0, nullptr);
                                      }});
    ASSERT_TRUE(gui.ready());
    const HWND warning = gui.wait_for_box();
    CloseHandle(held);
    EXPECT_EQ("Warning: The configuration file could not be read. Apply would replace it with "
              "the settings shown.",
              message_box_text(warning));
    EXPECT_TRUE(dismiss(warning));
    // The defaults; Default has nothing to offer, says so and leaves the page as it was.
    run(gui,
        {{Do::page, 0, "|[x]|-|-"},
         {Do::type, IDC_SERVER, "typed.example"},
         {Do::box, IDC_DEFAULT, "Error: The default configuration file could not be read.|Error"},
         {Do::page, 0, "typed.example|[x]|-|-"},
         {Do::file, 0, "server=kept.example\n"}});
}

// Run by full_disk.sh, which gives Wine a drive on a small file system of its own.
TEST(FullDisk, ApplyLeavesTheFileAsItWasAndSaysSo) {
    char drive[8] = {};
    if (GetEnvironmentVariableA("RYX_FULL_DISK", drive, sizeof drive) == 0) {
        GTEST_SKIP() << "needs a small disk of its own: run by full_disk.sh";
    }
    SetEnvironmentVariableA("TMP", drive); // the installation goes there
    const ProgramDriver gui(Installed{"server=old.example\n"});
    ASSERT_TRUE(gui.ready());
    // Every last byte taken, in blocks and then one at a time.
    const HANDLE filler =
        CreateFileA(gui.file("filler").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, filler);
    const std::string block(4096, 'f');
    DWORD written = 0;
    for (const DWORD size : {DWORD{4096}, DWORD{1}}) {
        while (WriteFile(filler, block.data(), size, &written, nullptr) && written == size) {
        }
    }
    CloseHandle(filler);
    run(gui, {{Do::type, IDC_SERVER, "new.example"},
              {Do::box, IDC_APPLY, write_failed},
              {Do::file, 0, "server=old.example\n"}});
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(gui.install_dir())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"filler", "ryxc.conf", "ryxc.conf.default"}), names);
}
