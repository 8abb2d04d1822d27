// The action arguments of ryxgui.exe, each run as a real process against the stand-in service
// and a real installation, as an elevated run of the program would be: its exit code, what
// became of the service and of ryxc.conf, and never a window.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>

#include "app/startup.h"
#include "config/config_reader.h"
#include "config/config_record.h"
#include "config/config_writer.h"
#include "e2e/program_driver.h"
#include "service/service_control.h"
#include "win/demo_installation.h"
#include "win/registry_fixture.h"

namespace {

// ryxgui.exe with these arguments, run to its end; a window of its own, visible for a moment
// only, is a failure too.
DWORD run_ryxgui(const std::string& arguments) {
    const ProgramDriver program(ryxgui_command() + " " + arguments);
    bool window_shown = false;
    EXPECT_TRUE(wait_until(
        [&] {
            window_shown =
                window_shown || !visible_windows(nullptr, nullptr, program.process_id()).empty();
            return program.exit_code(0) != STILL_ACTIVE;
        },
        60000, 5))
        << arguments;
    EXPECT_FALSE(window_shown) << arguments;
    return program.exit_code(0);
}

DWORD service_state() {
    return ServiceControl("ryx").query_state();
}

} // namespace

TEST(ActionsE2E, StartStopAndWriteTheConfigurationWithoutAnyWindow) {
    const DemoInstallation demo;
    ASSERT_TRUE(demo.install());
    Session installed;
    char error_text[4096];
    ASSERT_TRUE(resolve_installation_paths(installed, error_text, sizeof error_text));
    ASSERT_EQ(static_cast<DWORD>(SERVICE_STOPPED), service_state());

    // Each waits for the service to get there; asked again, the manager's refusal.
    EXPECT_EQ(0u, run_ryxgui("--start"));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), service_state());
    EXPECT_EQ(static_cast<DWORD>(ERROR_SERVICE_ALREADY_RUNNING), run_ryxgui("--start"));
    EXPECT_EQ(0u, run_ryxgui("--stop"));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), service_state());
    EXPECT_EQ(static_cast<DWORD>(ERROR_SERVICE_NOT_ACTIVE), run_ryxgui("--stop"));

    // A file in a folder with blanks and accents: the settings it lacks are a new record's,
    // and ryxc.conf holds exactly what Apply would write of that record.
    const TempDir files;
    const std::string folder = files.file("d\xE9j\xE0 vu");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string file = folder + "\\new settings.conf";
    const std::string settings = "server=written.example\nauth_method=plain\nuserid=u\n"
                                 "passwd=p\nkeepalive=no\nfuture_key=kept out\n";
    write_bytes(file, settings);
    ConfigRecord record;
    ASSERT_TRUE(read_config_text(settings.data(), settings.size(), record));
    const ClockTime before = ClockTime::now();
    EXPECT_EQ(0u, run_ryxgui("--write-config \"" + file + "\""));
    const std::string written = read_bytes(installed.config_file_path);
    EXPECT_TRUE(written == config_file_bytes(installed.install_dir, record, before) ||
                written == config_file_bytes(installed.install_dir, record, ClockTime::now()))
        << written;

    // One that Apply would refuse (no server) writes nothing; a missing one cannot be read; a
    // command line the program does not take is refused as such.
    write_bytes(file, "auth_method=anonymous\n");
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA),
              run_ryxgui("--write-config \"" + file + "\""));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND),
              run_ryxgui("--write-config \"" + folder + "\\gone.conf\""));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), run_ryxgui("--restart"));
    EXPECT_EQ(written, read_bytes(installed.config_file_path));

    // Without an installation: 1, as the window's start would end, and no box either.
    RegistryFixture::remove_key();
    EXPECT_EQ(1u, run_ryxgui("--start"));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), service_state());
}
