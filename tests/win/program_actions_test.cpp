// --write-config with the files it cannot take, run in this process: the reason each one
// gives, and ryxc.conf left as it was. The action run as a process, with the service, is
// met end to end.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/program_actions.h"
#include "support/temp_dir.h"
#include "win/registry_fixture.h"

TEST(WriteConfigAction, AFileItCannotTakeGivesItsReasonAndWritesNothing) {
    const RegistryFixture registry;
    const TempDir install;
    RegistryFixture::set_install_dir(install.path());
    const std::string config = install.file("ryxc.conf");
    const std::string old = "server=old.example\r\n";
    // The system's reason where it cannot be opened; no text where it is not text.
    const struct {
        const char* decision;
        bool folder;
        std::string bytes;
        DWORD exit_code;
    } cases[] = {
        {"a folder", true, "", ERROR_ACCESS_DENIED},
        {"UTF-16", false, std::string("\xFF\xFEs\0=\0x\0", 8), ERROR_INVALID_DATA},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.decision);
        write_bytes(config, old);
        const TempDir files;
        const std::string file = files.file("settings");
        if (row.folder) {
            ASSERT_TRUE(CreateDirectoryA(file.c_str(), nullptr));
        } else {
            write_bytes(file, row.bytes);
        }
        EXPECT_EQ(row.exit_code, run_action({ProgramAction::write_config, file}));
        EXPECT_EQ(old, read_bytes(config));
    }
    // ryxc.conf itself is read whole before its replacement is written.
    EXPECT_EQ(0u, run_action({ProgramAction::write_config, config}));
    EXPECT_NE(std::string::npos, read_bytes(config).find("\r\nserver=old.example\r\n"));
}
