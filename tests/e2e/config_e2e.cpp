// The Config page and the Advanced window driven as a user would, against real files: each
// case a list of steps.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "config/config_reader.h"
#include "config/config_record.h"
#include "config/config_writer.h"
#include "e2e/program_driver.h"
#include "res/resource.h"

namespace {

const std::vector<int> page_ids = {IDC_SERVER, IDC_ANONYMOUS, IDC_USERNAME, IDC_PASSWORD};
const std::vector<int> advanced_ids = {
    IDC_AUTH_METHOD,        IDC_TUNNEL_MODE,    IDC_CLIENT_ADDRESS, IDC_KEEPALIVE,
    IDC_KEEPALIVE_INTERVAL, IDC_REQUEST_PREFIX, IDC_PREFIX_GROUP,   IDC_PREFIX_LENGTH,
    IDC_RTADV_INTERFACE,    IDC_DNS_SERVER};

// A step, in the Advanced window while it shows, else on the page: type text into a control,
// pick a list position (text), click it, click it and expect a box with the text (answered
// then), expect what the window shows, expect ryxc.conf to hold the text.
enum class Do { type, pick, click, box, view, file };
struct Step {
    Do action;
    int id = 0;
    std::string text = {};
};

// A control of the window or of its Prefix group.
HWND control(HWND window, int id) {
    const HWND found = GetDlgItem(window, id);
    return found != nullptr ? found : GetDlgItem(GetDlgItem(window, IDC_PREFIX_GROUP), id);
}

// The controls as shown, in one line: each one's text ("[x]" or "[ ]" for a check box), with
// "-" after a disabled one, joined by "|".
std::string view(HWND window, const std::vector<int>& ids) {
    std::string seen;
    for (const int id : ids) {
        const HWND c = control(window, id);
        const bool box = id == IDC_ANONYMOUS || id == IDC_KEEPALIVE || id == IDC_REQUEST_PREFIX;
        const bool checked = SendMessageA(c, BM_GETCHECK, 0, 0) == BST_CHECKED;
        seen += "|" + (box ? (checked ? "[x]" : "[ ]") : window_text(c)) +
                (IsWindowEnabled(c) ? "" : "-");
    }
    return seen.substr(1);
}

void run(const ProgramDriver& gui, const std::vector<Step>& steps) {
    const HWND page = gui.config_page();
    for (const Step& step : steps) {
        SCOPED_TRACE(&step - steps.data());
        // The Advanced window is owned by the main window, which is disabled while it shows.
        const HWND advanced = FindWindowA("AdvancedDialog", nullptr);
        const bool on_advanced = IsWindowVisible(advanced) != FALSE;
        EXPECT_EQ(on_advanced, GetWindow(advanced, GW_OWNER) == gui.main_window() &&
                                   !IsWindowEnabled(gui.main_window()));
        const HWND window = on_advanced ? advanced : page;
        const HWND c = control(window, step.id);
        if (step.action == Do::type) {
            SendMessageA(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(step.text.c_str()));
        } else if (step.action == Do::pick) {
            SendMessageA(c, CB_SETCURSEL, std::stoi(step.text), 0);
        } else if (step.action == Do::click) {
            SendMessageA(c, BM_CLICK, 0, 0);
        } else if (step.action == Do::box) {
            PostMessageA(c, BM_CLICK, 0, 0);
            EXPECT_EQ(step.text, gui.answer_box(IDOK));
        } else if (step.action == Do::view) {
            EXPECT_EQ(step.text, view(window, on_advanced ? advanced_ids : page_ids));
        } else {
            EXPECT_EQ(step.text, read_bytes(gui.file("ryxc.conf")));
        }
    }
}

using Installed = ProgramDriver::Installation;

} // namespace

TEST(ConfigE2E, EditApplyCancelDefaultAndAdvanced) {
    const std::string file =
        "server=first.example\nauth_method=plain\nuserid=bob\npasswd=pw\ntunnel_mode=v4v6\n"
        "client_v6=2001:db8::1\n";
    const ProgramDriver gui(Installed{file, "server=default.example\nprefixlen=56\n"});
    ASSERT_TRUE(gui.ready());
    run(gui, {
                 // The check boxes switch what hangs on them; Ok stores every control, disabled
                 // ones too, the address under the mode now chosen.
                 {Do::click, IDC_ADVANCED},
                 {Do::view, 0, "PLAIN|V4V6|2001:db8::1|[x]|0|[ ]|&Prefix-|48-|4-|-"},
                 {Do::pick, IDC_TUNNEL_MODE, "1"},
                 {Do::click, IDC_KEEPALIVE},
                 {Do::click, IDC_REQUEST_PREFIX},
                 {Do::type, IDC_KEEPALIVE_INTERVAL, "30"},
                 {Do::type, IDC_DNS_SERVER, "dns.example"},
                 {Do::view, 0, "PLAIN|V6V4|2001:db8::1|[ ]|30-|[x]|&Prefix|48|4|dns.example"},
                 {Do::click, IDC_ADV_OK},
                 // A value that a rule refuses: told, nothing written.
                 {Do::type, IDC_SERVER, ""},
                 {Do::box, IDC_APPLY, "Error: The RYX server field is mandatory.\n|Error"},
                 {Do::file, 0, file},
                 // Anonymous disables the credentials, which keep their texts.
                 {Do::click, IDC_ANONYMOUS},
                 {Do::type, IDC_SERVER, "second.example"},
                 {Do::view, 0, "second.example|[x]|bob-|pw-"},
             });

    // Apply writes the record that the page and the Advanced window show (Anonymous as a record
    // starts), dated by the clock meanwhile; the writer's own test has its layout.
    const std::string shown_keys =
        "server=second.example\ntunnel_mode=v6v4\nclient_v4=2001:db8::1\nclient_v6=2001:db8::1\n"
        "keepalive=no\nkeepalive_interval=30\nhost_type=router\ndns_server=dns.example\n";
    ConfigRecord shown;
    ASSERT_TRUE(read_config_text(shown_keys.c_str(), shown_keys.size(), shown));
    const ClockTime before = ClockTime::now();
    SendMessageA(control(gui.config_page(), IDC_APPLY), BM_CLICK, 0, 0);
    const std::string written = read_bytes(gui.file("ryxc.conf"));
    const char* const dir = gui.install_dir().c_str();
    EXPECT_TRUE(written == config_file_bytes(dir, shown, before) ||
                written == config_file_bytes(dir, shown, ClockTime::now()))
        << written;

    run(gui, {
                 // Cancel brings back the file as read back.
                 {Do::type, IDC_SERVER, "typed.example"},
                 {Do::click, IDC_CANCEL},
                 {Do::view, 0, "second.example|[x]|bob-|pw-"},
                 // Default replaces the whole working record, the Advanced part too, writing
                 // nothing.
                 {Do::click, IDC_DEFAULT},
                 {Do::view, 0, "default.example|[x]|-|-"},
                 {Do::file, 0, written},
                 {Do::click, IDC_ADVANCED},
                 {Do::view, 0, "ANY|V6ANYV4|auto|[x]|0|[ ]|&Prefix-|56-|4-|-"},
             });
}

// Also run by full_disk.sh, which gives Wine a drive on a small file system of its own: the
// installation goes there, and Apply fails for want of room; run alone, for a read-only file.
TEST(ConfigE2E, UnreadableFilesAndAFailedWriteAreTold) {
    char drive[8] = {};
    const bool full_disk = GetEnvironmentVariableA("RYX_FULL_DISK", drive, sizeof drive) != 0;
    if (full_disk) {
        SetEnvironmentVariableA("TMP", drive);
    }
    // Both files saved as UTF-16, which the client cannot read either.
    const std::string unicode("\xFF\xFEs\0=\0h\0", 8);
    const ProgramDriver gui(Installed{unicode, unicode});
    ASSERT_TRUE(gui.ready());
    EXPECT_EQ("Warning: The configuration file could not be read. Apply would replace it with the "
              "settings shown.|Error",
              gui.answer_box(IDOK));
    if (full_disk) {
        write_bytes(gui.file("filler"), std::string(1 << 16, 'f')); // more than the disk holds
    } else {
        ASSERT_TRUE(SetFileAttributesA(gui.file("ryxc.conf").c_str(), FILE_ATTRIBUTE_READONLY));
    }
    // Default has nothing to offer and says so. The failed write is told, the file stays, the
    // typed value stays shown with the defaults.
    run(gui,
        {{Do::box, IDC_DEFAULT, "Error: The default configuration file could not be read.|Error"},
         {Do::type, IDC_SERVER, "new.example"},
         {Do::box, IDC_APPLY,
          "Error: The configuration file could not be written.\n" +
              (full_disk ? system_text(ERROR_DISK_FULL)
                         : system_text(ERROR_ACCESS_DENIED) +
                               "\nSaving the configuration needs administrative rights.") +
              "|Error"},
         {Do::file, 0, unicode},
         {Do::view, 0, "new.example|[x]|-|-"}});
}
