#include <gtest/gtest.h>
#include <string>

#include "app/startup.h"
#include "win/registry_fixture.h"

namespace {

const std::string not_installed = "Error: No valid RYX Client installed.\n";

// A registry value as an installer may leave it; no type: no key at all.
struct Value {
    DWORD type;
    std::string bytes;
    REGSAM view = 0;
};

Value text(const std::string& value, DWORD type = REG_SZ, REGSAM view = 0) {
    return {type, value + '\0', view};
}

void store(const Value& value) {
    RegistryFixture::remove_key();
    if (value.type != REG_NONE) {
        ASSERT_TRUE(RegistryFixture::set_raw_value(
            value.type, value.bytes.data(), static_cast<DWORD>(value.bytes.size()), value.view));
    }
}

void expect_no_paths() {
    EXPECT_STREQ("", install_dir);
    EXPECT_STREQ("", config_file_path);
    EXPECT_STREQ("", default_config_file_path);
    EXPECT_STREQ("", log_file_path);
}

class InstallationPaths : public ::testing::Test {
protected:
    void SetUp() override {
        SetEnvironmentVariableA("RYX_TEST_ROOT", "E:\\Root");
        SetEnvironmentVariableA("RYX_TEST_LONG", std::string(255, 'l').c_str());
    }
    const RegistryFixture registry_;
};

} // namespace

TEST_F(InstallationPaths, ComposedFromTheRegistryValue) {
    const struct {
        Value value;
        std::string dir;
    } cases[] = {
        {text("D:\\Tunnel"), "D:\\Tunnel"},
        {text("D:\\Tunnel\\"), "D:\\Tunnel\\"}, // the separator is doubled, not merged
        {text(std::string(242, 'd')), std::string(242, 'd')},
        {{REG_SZ, "E:\\Unterminated"}, "E:\\Unterminated"}, // terminated inside the buffer
        {text("%RYX_TEST_ROOT%\\Tunnel", REG_EXPAND_SZ), "E:\\Root\\Tunnel"},
        {text("F:\\Wow", REG_SZ, KEY_WOW64_32KEY), "F:\\Wow"}, // a 32-bit installer's
    };
    for (const auto& c : cases) {
        store(c.value);
        char error_text[4096];
        ASSERT_TRUE(resolve_installation_paths(error_text, sizeof error_text)) << c.dir;
        EXPECT_STREQ("", error_text);
        EXPECT_EQ(c.dir, install_dir);
        EXPECT_EQ(c.dir + "\\ryxc.conf", config_file_path);
        EXPECT_EQ(c.dir + "\\ryxc.conf.default", default_config_file_path);
        EXPECT_EQ(c.dir + "\\ryxc.log", log_file_path);
    }
}

TEST_F(InstallationPaths, MissingOrUnusableValueMeansNotInstalled) {
    const struct {
        const char* name;
        Value value;
    } cases[] = {
        {"no key", {REG_NONE, ""}},
        {"empty", text("")},
        {"a number", {REG_DWORD, std::string("\x05\0\0\0", 4)}},
        {"binary", {REG_BINARY, "E:\\Binary"}},
        {"too long for its file names", text(std::string(243, 'd'))},
        {"260 characters", text(std::string(260, 'd'))},
        {"needs more than 261 bytes", text(std::string(261, 'd'))},
        {"261 bytes without a terminator", {REG_SZ, std::string(261, 'f')}},
        {"far too long", text(std::string(5000, 'd'))},
        {"expanded too long", text("%RYX_TEST_LONG%%RYX_TEST_LONG%", REG_EXPAND_SZ)},
    };
    for (const auto& c : cases) {
        store(c.value);
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

TEST_F(InstallationPaths, ErrorTextIsCutToItsBuffer) {
    char error_text[12];
    EXPECT_FALSE(resolve_installation_paths(error_text, sizeof error_text));
    EXPECT_STREQ("Error: No v", error_text);
}
