#include "config/config_reader.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

#include "config/config_record.h"
#include "support/record_dump.h"
#include "support/temp_dir.h"

namespace {

// The dump of a default record with the lines of some fields changed ("server=h\n").
std::string default_with(const std::string& changed) {
    std::string text = "\n" + dump(ConfigRecord());
    std::istringstream lines(changed);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t start = text.find("\n" + line.substr(0, line.find('=') + 1)) + 1;
        EXPECT_NE(0u, start) << "no field " << line;
        text.replace(start, text.find('\n', start) - start, line);
    }
    return text.substr(1);
}

// With "server=", a line of 2047 characters, the longest the reader takes.
const std::string longest_server_line = "server=" + std::string(2040, 'b');
const std::string x2000(2000, 'x');

// ASCII text as UTF-16, as Notepad saves "Unicode".
std::string utf16(const std::string& text, bool big_endian) {
    std::string wide;
    for (const char c : text) {
        wide += big_endian ? std::string{'\0', c} : std::string{c, '\0'};
    }
    return wide;
}

const struct {
    const char* name;
    std::string text;
    std::string changed;  // the fields that differ from a default record afterwards
    bool readable = true; // false: refused as UTF-16
} cases[] = {
    {"empty file", "", ""},
    {"last line without line feed", "prefixlen=64", "prefixlen=64\n"},
    {"carriage return before line feed", "server=h\r\nuserid=bob\r\n", "server=h\nuserid=bob\n"},
    {"leading blanks skipped, not tabs", "   server=h\n\tuserid=u\n", "server=h\n"},
    {"blanks after = belong to the value", "server= h \n", "server= h \n"},
    {"blank before = belongs to the key, keys are case-sensitive",
     "server =h\nServer=h\nSERVER=h\n", ""},
    {"keepalive yes", "keepalive=no\nkeepalive=yes\n", ""},
    {"keepalive Yes is off", "keepalive=Yes\n", "keepalive=0\n"},
    {"keepalive yes and blank is off", "keepalive=yes \n", "keepalive=0\n"},
    {"host_type router", "host_type=router\n", "router=1\n"},
    {"host_type ROUTER is host", "host_type=router\nhost_type=ROUTER\n", ""},
    {"auth_method mixed case", "auth_method=DiGeSt-Md5\n", "auth_method=1\nanonymous=0\n"},
    {"auth_method ANONYMOUS resets the method", "auth_method=plain\nauth_method=ANONYMOUS\n", ""},
    {"unknown auth_method clears anonymous, keeps the method",
     "auth_method=passdss-3des-1\nauth_method=kerberos\n", "auth_method=3\nanonymous=0\n"},
    {"tunnel_mode", "tunnel_mode=V4V6\n", "tunnel_mode=3\n"},
    {"tunnel_mode and blank refused", "tunnel_mode=v6udpv4\ntunnel_mode=v6v4 \n",
     "tunnel_mode=2\n"},
    {"value cut at the next =", "passwd=a=b\n", "passwd=a\n"},
    {"run of = before the value", "passwd==b\n", "passwd=b\n"},
    {"leading = before the key", "==passwd=c\n", "passwd=c\n"},
    {"no value cannot empty a field; only = and blanks",
     "client_v4=\nclient_v6==\nserver\n=====\n\n      \n   ===\n", ""},
    {"numbers at the ends of their ranges",
     "prefixlen=128\nif_prefix=1\nkeepalive_interval=9999999999",
     "prefixlen=128\nif_prefix=1\nkeepalive_interval=2147483647\n"},
    {"numbers after blanks, before letters", "prefixlen= 64abc\nif_prefix=\t+12\n",
     "prefixlen=64\nif_prefix=12\n"},
    // Neither cut to 16 bits nor wrapped around 32 bits.
    {"numbers out of range keep the last one taken",
     "prefixlen=60\nprefixlen=129\nprefixlen=0\nprefixlen=-5\nprefixlen=65537\n"
     "if_prefix=4294967297\nkeepalive_interval=30\nkeepalive_interval=-4\n",
     "prefixlen=60\nkeepalive_interval=30\n"},
    {"interval of letters", "keepalive_interval=30\nkeepalive_interval=abc\n", ""},
    {"fixed keys ignored",
     "ryx_dir=C:\\x\ntemplate=linux\nproxy_client=yes\nif_tunnel_v6v4=9\n"
     "if_tunnel_v6udpv4=a\nif_tunnel_v4v6=b\n",
     ""},
    {"texts cut to their capacity, nothing of a longer text left behind",
     "userid=" + x2000 + "\nuserid=u\npasswd=" + x2000 + "\ndns_server=" + x2000 +
         "\nclient_v4=" + x2000 + "\nclient_v6=" + x2000,
     "userid=u\npasswd=" + std::string(63, 'x') + "\ndns_server=" + std::string(1025, 'x') +
         "\nclient_v4=" + std::string(40, 'x') + "\nclient_v6=" + std::string(40, 'x') + "\n"},
    {"NUL ends the line's text", std::string("server=ab\0cd\nuserid=u\n", 22),
     "server=ab\nuserid=u\n"},
    {"line of 2047 characters taken", longest_server_line + "\nuserid=u\n",
     "server=" + std::string(1025, 'b') + "\nuserid=u\n"},
    {"and with its carriage return", longest_server_line + "\r\nuserid=u\n",
     "server=" + std::string(1025, 'b') + "\nuserid=u\n"},
    // Neither cut nor split: its tail would read as a line of its own.
    {"longer line ignored whole", longest_server_line + "userid=smuggled\npasswd=p\n",
     "passwd=p\n"},
    {"UTF-8 byte-order mark passed over", "\xEF\xBB\xBFserver=h\n", "server=h\n"},
    {"only at the start", "\xEF\xBB\xBF\xEF\xBB\xBFserver=h\nuserid=u", "userid=u\n"},
    {"UTF-16 with its byte-order mark", "\xFF\xFE" + utf16("server=h\r\n", false), "", false},
    {"UTF-16 big-endian without a mark", utf16("server=h\nuserid=u\n", true), "", false},
    {"4 MiB line, longer last line",
     "server=" + std::string(4 << 20, 'x') + "\nuserid=u\n" + longest_server_line + "bbbb",
     "userid=u\n"},
};

} // namespace

TEST(ConfigReader, LinesChangeExactlyWhatTheRulesSay) {
    for (const auto& c : cases) {
        ConfigRecord record;
        EXPECT_EQ(c.readable, read_config_text(c.text.data(), c.text.size(), record)) << c.name;
        EXPECT_EQ(default_with(c.changed), dump(record)) << c.name;
    }
}

TEST(ConfigReader, ReadsFilesAndTellsMissingFromUnreadable) {
    TempDir dir;
    write_bytes(dir.file("ryxc.conf"), "server=h\r\nprefixlen=64");
    write_bytes(dir.file("empty.conf"), "");
    write_bytes(dir.file("unicode.conf"), "\xFF\xFE" + utf16("userid=u\r\n", false));
    std::filesystem::create_directory(dir.file("folder.conf"));
    ConfigRecord record;
    EXPECT_EQ(ConfigFileRead::read, read_config_file(dir.file("ryxc.conf").c_str(), record));
    EXPECT_EQ(ConfigFileRead::missing, read_config_file(dir.file("missing.conf").c_str(), record));
    EXPECT_EQ(ConfigFileRead::read, read_config_file(dir.file("empty.conf").c_str(), record));
    EXPECT_EQ(ConfigFileRead::not_text, read_config_file(dir.file("unicode.conf").c_str(), record));
    EXPECT_EQ(ConfigFileRead::unreadable,
              read_config_file(dir.file("folder.conf").c_str(), record));
    EXPECT_EQ(default_with("server=h\nprefixlen=64\n"), dump(record));
}
