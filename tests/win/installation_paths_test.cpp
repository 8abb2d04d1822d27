#include <gtest/gtest.h>
#include <string>

#include "app/startup.h"
#include "win/registry_fixture.h"

namespace {

const std::string not_installed = "Error: No valid RYX Client installed.\n";

void expect_no_paths() {
    EXPECT_STREQ("", install_dir);
    EXPECT_STREQ("", config_file_path);
    EXPECT_STREQ("", default_config_file_path);
    EXPECT_STREQ("", log_file_path);
}

} // namespace

TEST(InstallationPaths, ComposedFromTheRegistryValue) {
    const RegistryFixture registry;
    struct Case {
        std::string value;
        std::string separator_and_dir;
    };
    const Case cases[] = {
        {"D:\\Tunnel", "D:\\Tunnel\\"},
        {"D:\\Tunnel\\", "D:\\Tunnel\\\\"}, // the separator is doubled, not merged
        {std::string(242, 'd'), std::string(242, 'd') + "\\"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(RegistryFixture::set_install_dir(c.value));
        char error_text[4096];
        ASSERT_TRUE(resolve_installation_paths(error_text, sizeof error_text)) << c.value;
        EXPECT_STREQ("", error_text);
        EXPECT_EQ(c.value, install_dir);
        EXPECT_EQ(c.separator_and_dir + "ryxc.conf", config_file_path);
        EXPECT_EQ(c.separator_and_dir + "ryxc.conf.default", default_config_file_path);
        EXPECT_EQ(c.separator_and_dir + "ryxc.log", log_file_path);
    }
}

TEST(InstallationPaths, MissingOrUnusableValueMeansNotInstalled) {
    const RegistryFixture registry;
    struct Case {
        const char* name;
        bool create;
        std::string value;
    };
    const Case cases[] = {
        {"no key", false, ""},
        {"too long for its file names", true, std::string(243, 'd')},
        {"260 characters", true, std::string(260, 'd')},
        {"needs more than 261 bytes", true, std::string(261, 'd')},
        {"far too long", true, std::string(5000, 'd')},
    };
    for (const Case& c : cases) {
        RegistryFixture::remove_key();
        if (c.create) {
            ASSERT_TRUE(RegistryFixture::set_install_dir(c.value));
        }
        // Paths of an earlier installation must not survive a failed resolution.
        char error_text[4096];
        std::fill(std::begin(error_text), std::end(error_text), 'x');
        EXPECT_FALSE(resolve_installation_paths(error_text, sizeof error_text)) << c.name;
        EXPECT_EQ(not_installed, error_text) << c.name;
        EXPECT_EQ('\0', error_text[sizeof error_text - 1]) << c.name;
        expect_no_paths();
    }

    // The key without the value.
    ASSERT_TRUE(RegistryFixture::set_install_dir("C:\\x"));
    ASSERT_EQ(ERROR_SUCCESS,
              RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quorix\\RYX Client", "installdir"));
    char error_text[4096];
    EXPECT_FALSE(resolve_installation_paths(error_text, sizeof error_text));
    EXPECT_EQ(not_installed, error_text);
}

TEST(InstallationPaths, ValueWithoutTerminatorIsTerminatedInside) {
    const RegistryFixture registry;
    const std::string bytes = "E:\\Binary";
    ASSERT_TRUE(
        RegistryFixture::set_raw_value(REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size())));
    char error_text[4096];
    ASSERT_TRUE(resolve_installation_paths(error_text, sizeof error_text));
    EXPECT_EQ(bytes, install_dir);
    EXPECT_EQ(bytes + "\\ryxc.log", log_file_path);

    // 261 bytes with no terminator would need 262: refused, nothing read past the buffer.
    const std::string full(261, 'f');
    ASSERT_TRUE(
        RegistryFixture::set_raw_value(REG_BINARY, full.data(), static_cast<DWORD>(full.size())));
    EXPECT_FALSE(resolve_installation_paths(error_text, sizeof error_text));
    expect_no_paths();
}

TEST(InstallationPaths, ErrorTextIsCutToItsBuffer) {
    const RegistryFixture registry;
    char error_text[12];
    EXPECT_FALSE(resolve_installation_paths(error_text, sizeof error_text));
    EXPECT_STREQ("Error: No v", error_text);
}
