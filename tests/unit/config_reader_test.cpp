#include "config/config_reader.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#include "config/config_record.h"
#include "support/record_changes.h"
#include "support/temp_dir.h"

namespace {

// With "server=", a line of 2047 characters, the longest the reader takes.
const std::string longest_server_line = "server=" + std::string(2040, 'b');
const std::string x2000(2000, 'x');

// "userid=u" and a line end in UTF-16, as Notepad saves "Unicode" after its byte-order mark.
const std::string utf16_line("u\0s\0e\0r\0i\0d\0=\0u\0\r\0\n\0", 20);

const struct {
    const char* name;
    std::string text;
    std::string changed;  // the fields that differ from a default record afterwards
    bool readable = true; // false: refused as UTF-16
} cases[] = {
    {"leading blanks skipped, not tabs; blanks after = belong to the value, up to a NUL",
     std::string("   server= h \0cd\n\tuserid=u\n", 27), "server= h \n"},
    {"blank before = belongs to the key, keys are case-sensitive", "server =h\nServer=h\n", ""},
    {"keepalive and host_type take exactly yes and router: Yes is off",
     "keepalive=Yes\nhost_type=router\n", "router=1\nkeepalive=0\n"},
    {"and so is router with a blank after it",
     "keepalive=no\nkeepalive=yes\nhost_type=router\nhost_type=router \n", ""},
    {"keywords in any case; anonymous resets the method; a refused mode keeps the value",
     "auth_method=plain\nauth_method=ANONYMOUS\ntunnel_mode=V4V6\ntunnel_mode=v6v4 \n",
     "tunnel_mode=3\n"},
    {"an unknown method keeps the value but clears anonymous",
     "auth_method=DiGeSt-Md5\nauth_method=kerberos\n", "auth_method=1\nanonymous=0\n"},
    {"value cut at the next =, runs of = passed over", "passwd=a=b\n==userid==c\n",
     "userid=c\npasswd=a\n"},
    {"no value cannot empty a field; nor can = and blanks", "client_v4=\nserver\n===\n   ==\n", ""},
    {"numbers after blanks and a sign, before letters, saturated; a last line without line feed",
     "prefixlen= +128abc\nif_prefix=1\nkeepalive_interval=9999999999",
     "keepalive_interval=2147483647\nprefixlen=128\nif_prefix=1\n"},
    // Neither cut to 16 bits nor wrapped around 32 bits.
    {"numbers out of range keep the last one taken",
     "prefixlen=60\nprefixlen=129\nprefixlen=0\nprefixlen=65537\nif_prefix=4294967297\n"
     "keepalive_interval=30\nkeepalive_interval=-4\n",
     "keepalive_interval=30\nprefixlen=60\n"},
    {"texts cut to their capacity, nothing of a longer text left behind",
     "userid=" + x2000 + "\nuserid=u\npasswd=" + x2000 + "\nclient_v4=" + x2000 +
         "\nclient_v6=" + x2000,
     "userid=u\npasswd=" + std::string(63, 'x') + "\nclient_v4=" + std::string(40, 'x') +
         "\nclient_v6=" + std::string(40, 'x') + "\n"},
    {"lines of 2047 characters taken, with or without their carriage return",
     longest_server_line + "\r\ndns_server=" + std::string(2036, 'd') + "\n",
     "server=" + std::string(1025, 'b') + "\ndns_server=" + std::string(1025, 'd') + "\n"},
    // Neither cut nor split: its tail would read as a line of its own.
    {"longer lines, up to 4 MiB, ignored whole",
     "server=" + std::string(4 << 20, 'x') + "\n" + longest_server_line +
         "userid=smuggled\npasswd=p\n",
     "passwd=p\n"},
    {"UTF-8 byte-order mark passed over at the start only",
     "\xEF\xBB\xBFserver=h\n\xEF\xBB\xBFuserid=u\n", "server=h\n"},
    {"UTF-16 without its byte-order mark", utf16_line, "", false},
};

} // namespace

TEST(ConfigReader, LinesChangeExactlyWhatTheRulesSay) {
    for (const auto& c : cases) {
        ConfigRecord record;
        EXPECT_EQ(c.readable, read_config_text(c.text.data(), c.text.size(), record)) << c.name;
        EXPECT_EQ(c.changed, changes(record)) << c.name;
    }
}

// Only a file read whole changes the record: a folder opens on some systems but gives no bytes.
TEST(ConfigReader, ReadsFilesAndTellsMissingFromUnreadable) {
    TempDir dir;
    write_bytes(dir.file("ryxc.conf"), "server=h\r\nprefixlen=64");
    write_bytes(dir.file("unicode.conf"), "\xFF\xFE" + utf16_line);
    std::filesystem::create_directory(dir.file("folder.conf"));
    ConfigRecord record;
    EXPECT_EQ(ConfigFileRead::read, read_config_file(dir.file("ryxc.conf").c_str(), record));
    EXPECT_EQ(ConfigFileRead::missing, read_config_file(dir.file("missing.conf").c_str(), record));
    EXPECT_EQ(ConfigFileRead::not_text, read_config_file(dir.file("unicode.conf").c_str(), record));
    EXPECT_EQ(ConfigFileRead::unreadable,
              read_config_file(dir.file("folder.conf").c_str(), record));
    EXPECT_EQ("server=h\nprefixlen=64\n", changes(record));
}
