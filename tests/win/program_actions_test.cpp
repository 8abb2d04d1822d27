// --write-config run in this process with the files the end-to-end run does not bring: a file
// that is not text leaves ryxc.conf as it was, and ryxc.conf itself is read whole before its
// replacement is written. The action run as a process, with the service, is met end to end.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/program_actions.h"
#include "support/temp_dir.h"
#include "win/registry_fixture.h"

TEST(WriteConfigAction, AFileItCannotTakeWritesNothingAndItsOwnFileIsReadFirst) {
    const RegistryFixture registry;
    const TempDir install;
    RegistryFixture::set_install_dir(install.path());
    const std::string config = install.file("ryxc.conf"), unicode = install.file("unicode.conf");
    write_bytes(config, "server=old.example\r\n");
    write_bytes(unicode, std::string("\xFF\xFEs\0=\0x\0", 8));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA),
              run_action({ProgramAction::write_config, unicode}));
    EXPECT_EQ("server=old.example\r\n", read_bytes(config));
    EXPECT_EQ(0u, run_action({ProgramAction::write_config, config}));
    EXPECT_NE(std::string::npos, read_bytes(config).find("\r\nserver=old.example\r\n"));
}
