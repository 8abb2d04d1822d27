#include "config/config_reader.h"

#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

#include "config/config_record.h"
#include "support/record_dump.h"
#include "support/temp_dir.h"

namespace {

ConfigRecord read_text(const std::string& text, const ConfigRecord& start = ConfigRecord()) {
    ConfigRecord record(start);
    std::istringstream in(text);
    read_config_stream(in, record);
    return record;
}

struct ReadCase {
    const char* name;
    std::string text;
    std::function<void(ConfigRecord&)> expect; // applied to a default record
};

void no_change(ConfigRecord&) {}

} // namespace

TEST(ConfigReader, LinesChangeExactlyWhatTheRulesSay) {
    const ReadCase cases[] = {
        {"empty file", "", no_change},
        {"last line without line feed", "prefixlen=64", [](auto& r) { r.parse_prefixlen("64"); }},
        {"carriage return before line feed", "server=a.example\r\nuserid=bob\r\n",
         [](auto& r) {
             r.set_server("a.example");
             r.set_userid("bob");
         }},
        {"leading blanks skipped", "   server=host.example\n",
         [](auto& r) { r.set_server("host.example"); }},
        {"leading tab not skipped", "\tserver=host.example\n", no_change},
        {"blank before = belongs to the key", "server =host.example\n", no_change},
        {"blank after = belongs to the value", "server= host.example \n",
         [](auto& r) { r.set_server(" host.example "); }},
        {"keys are case-sensitive", "Server=host.example\nSERVER=x\n", no_change},
        {"comment", "#server=host.example\n", no_change},
        {"indented # is no comment but no key", "  #server=x\n", no_change},
        {"keepalive yes", "keepalive=no\nkeepalive=yes\n", no_change},
        {"keepalive Yes is off", "keepalive=Yes\n", [](auto& r) { r.set_keepalive(false); }},
        {"keepalive yes with blank is off", "keepalive=yes \n",
         [](auto& r) { r.set_keepalive(false); }},
        {"host_type router", "host_type=router\n", [](auto& r) { r.set_router(true); }},
        {"host_type ROUTER is host", "host_type=router\nhost_type=ROUTER\n", no_change},
        {"auth_method mixed case", "auth_method=DiGeSt-Md5\n",
         [](auto& r) {
             r.set_anonymous(false);
             r.set_auth_method(1);
         }},
        {"auth_method ANONYMOUS", "auth_method=plain\nauth_method=ANONYMOUS\n", no_change},
        {"unknown auth_method clears anonymous", "auth_method=kerberos\n",
         [](auto& r) { r.set_anonymous(false); }},
        {"tunnel_mode with blank", "tunnel_mode=v6v4 \n", no_change},
        {"tunnel_mode", "tunnel_mode=V6UDPV4\n", [](auto& r) { r.set_tunnel_mode(2); }},
        {"value cut at next =", "passwd=a=b\n", [](auto& r) { r.set_passwd("a"); }},
        {"run of = before the value", "passwd==b\n", [](auto& r) { r.set_passwd("b"); }},
        {"leading = before the key", "==passwd=c\n", [](auto& r) { r.set_passwd("c"); }},
        {"no value", "passwd=\npasswd==\nserver\n", no_change},
        {"only = and blanks", "=====\n\n      \n   ===\n", no_change},
        {"prefixlen out of range", "prefixlen=200\nif_prefix=0\n", no_change},
        {"interval of letters", "keepalive_interval=30\nkeepalive_interval=abc\n", no_change},
        {"negative interval refused", "keepalive_interval=-4\n", no_change},
        {"fixed keys ignored",
         "ryx_dir=C:\\x\ntemplate=linux\nproxy_client=yes\nif_tunnel_v6v4=9\n"
         "if_tunnel_v6udpv4=a\nif_tunnel_v4v6=b\n",
         no_change},
        {"client_v6 cut to 40", "client_v6=" + std::string(70, '6') + "\n",
         [](auto& r) { r.set_client_v6(std::string(40, '6').c_str()); }},
        {"last occurrence wins", "server=a\nserver=b\n", [](auto& r) { r.set_server("b"); }},
        {"NUL ends the line's text", std::string("server=ab\0cd\nuserid=u\n", 22),
         [](auto& r) {
             r.set_server("ab");
             r.set_userid("u");
         }},
        {"no line feed at all, only =", std::string(100000, '='), no_change},
        {"every field",
         "server=s\nuserid=u\npasswd=p\nauth_method=passdss-3des-1\ntunnel_mode=v4v6\n"
         "client_v4=1.2.3.4\nclient_v6=::1\nkeepalive=no\nkeepalive_interval=15\n"
         "host_type=router\nprefixlen=56\nif_prefix=3\ndns_server=ns\n",
         [](auto& r) {
             r.set_server("s");
             r.set_userid("u");
             r.set_passwd("p");
             r.set_anonymous(false);
             r.set_auth_method(3);
             r.set_tunnel_mode(3);
             r.set_client_v4("1.2.3.4");
             r.set_client_v6("::1");
             r.set_keepalive(false);
             r.parse_keepalive_interval("15");
             r.set_router(true);
             r.parse_prefixlen("56");
             r.parse_if_prefix("3");
             r.set_dns_server("ns");
         }},
    };
    for (const ReadCase& c : cases) {
        ConfigRecord expected;
        c.expect(expected);
        EXPECT_EQ(dump(expected), dump(read_text(c.text))) << c.name;
    }
}

TEST(ConfigReader, FileCannotEmptyAField) {
    ConfigRecord start;
    start.set_server("kept");
    start.set_client_v4("1.1.1.1");
    const ConfigRecord record = read_text("server=\nclient_v4=\n", start);
    EXPECT_STREQ("kept", record.get_server());
    EXPECT_STREQ("1.1.1.1", record.get_client_v4());
}

TEST(ConfigReader, OverlongLineIsIgnoredWholeAndReadingGoesOn) {
    // The tail of the long line would read as a key if it were taken as a line of its own.
    const std::string long_value(2047 - 7 + 100, 'a');
    const std::string text = "server=" + long_value + "userid=smuggled\n" + "passwd=next\n";
    const ConfigRecord record = read_text(text);
    EXPECT_EQ(nullptr, record.get_server());
    EXPECT_EQ(nullptr, record.get_userid());
    EXPECT_STREQ("next", record.get_passwd());
}

TEST(ConfigReader, LineOfExactly2047CharactersIsTaken) {
    const std::string value(2047 - 7, 'b');
    const ConfigRecord exact = read_text("server=" + value + "\nuserid=u\n");
    EXPECT_EQ(std::string(value, 0, 1025), exact.get_server());
    EXPECT_STREQ("u", exact.get_userid());

    const ConfigRecord over = read_text("server=" + value + "b\nuserid=u\n");
    EXPECT_EQ(nullptr, over.get_server());
    EXPECT_STREQ("u", over.get_userid());

    const ConfigRecord last = read_text("userid=u\nserver=" + value + "bbbb");
    EXPECT_EQ(nullptr, last.get_server());
    EXPECT_STREQ("u", last.get_userid());
}

TEST(ConfigReader, MegabyteLineEnds) {
    const ConfigRecord record = read_text("server=" + std::string(4 << 20, 'x') + "\nserver=ok");
    EXPECT_STREQ("ok", record.get_server());
}

TEST(ConfigReader, FileOpenFailureLeavesTheRecordUntouched) {
    TempDir dir;
    ConfigRecord record;
    record.set_server("before");
    EXPECT_FALSE(read_config_file(dir.file("missing.conf").c_str(), record));
    EXPECT_STREQ("before", record.get_server());

    write_bytes(dir.file("ryxc.conf"), "server=after\r\nprefixlen=64");
    EXPECT_TRUE(read_config_file(dir.file("ryxc.conf").c_str(), record));
    EXPECT_STREQ("after", record.get_server());
    EXPECT_EQ(64, record.get_prefixlen());

    write_bytes(dir.file("empty.conf"), "");
    EXPECT_TRUE(read_config_file(dir.file("empty.conf").c_str(), record));
    EXPECT_STREQ("after", record.get_server());
}
