#include "config/config_record.h"

#include <gtest/gtest.h>
#include <string>

#include "support/record_dump.h"

TEST(ConfigRecord, DefaultsAreTheClientsDefaults) {
    const ConfigRecord record;
    EXPECT_EQ("server=(null)\nuserid=(null)\npasswd=(null)\ndns_server=(null)\n"
              "client_v4=auto\nclient_v6=auto\nkeepalive_interval=0\ntunnel_mode=0\n"
              "auth_method=0\nprefixlen=48\nif_prefix=4\nrouter=0\nanonymous=1\nkeepalive=1\n",
              dump(record));
}

TEST(ConfigRecord, TextsAreCutToTheirCapacity) {
    ConfigRecord record;
    const std::string long_text(2000, 'x');
    record.set_server(long_text.c_str());
    record.set_userid(long_text.c_str());
    record.set_passwd(long_text.c_str());
    EXPECT_TRUE(record.set_dns_server(long_text.c_str()));
    EXPECT_TRUE(record.set_client_v4(long_text.c_str()));
    EXPECT_TRUE(record.set_client_v6(long_text.c_str()));
    EXPECT_EQ(1025u, std::string(record.get_server()).size());
    EXPECT_EQ(63u, std::string(record.get_userid()).size());
    EXPECT_EQ(63u, std::string(record.get_passwd()).size());
    EXPECT_EQ(1025u, std::string(record.get_dns_server()).size());
    EXPECT_EQ(40u, std::string(record.get_client_v4()).size());
    EXPECT_EQ(40u, std::string(record.get_client_v6()).size());

    record.set_client_v4("10.0.0.1");
    EXPECT_STREQ("10.0.0.1", record.get_client_v4());
    record.set_server("");
    EXPECT_EQ(nullptr, record.get_server());
    record.set_userid(nullptr);
    EXPECT_EQ(nullptr, record.get_userid());
}

TEST(ConfigRecord, NumbersAreAcceptedOnlyInTheirRange) {
    struct Case {
        bool (ConfigRecord::*parse)(const char*);
        const char* text;
        bool accepted;
        int stored; // the field afterwards; the field starts at its default
    };
    const auto prefixlen = &ConfigRecord::parse_prefixlen;
    const auto if_prefix = &ConfigRecord::parse_if_prefix;
    const auto interval = &ConfigRecord::parse_keepalive_interval;
    const Case cases[] = {
        {prefixlen, "0", false, 48},      {prefixlen, "129", false, 48},
        {prefixlen, "-5", false, 48},     {prefixlen, "", false, 48},
        {prefixlen, "128", true, 128},    {prefixlen, " 64abc", true, 64},
        {prefixlen, "1", true, 1},        {prefixlen, "65537", false, 48},
        {if_prefix, "0", false, 4},       {if_prefix, "12", true, 12},
        {if_prefix, "128", true, 128},    {if_prefix, "4294967297", false, 4},
        {interval, "", true, 0},          {interval, "-1", false, 0},
        {interval, "30", true, 30},       {interval, "letters", true, 0},
        {interval, "99999999999", true, 2147483647},
    };
    for (const Case& c : cases) {
        ConfigRecord record;
        EXPECT_EQ(c.accepted, (record.*c.parse)(c.text)) << '"' << c.text << '"';
        const int stored = c.parse == prefixlen   ? record.get_prefixlen()
                           : c.parse == if_prefix ? record.get_if_prefix()
                                                  : record.get_keepalive_interval();
        EXPECT_EQ(c.stored, stored) << '"' << c.text << '"';
    }
}

TEST(ConfigRecord, RefusedNumberKeepsThePreviousValue) {
    ConfigRecord record;
    ASSERT_TRUE(record.parse_keepalive_interval("25"));
    EXPECT_FALSE(record.parse_keepalive_interval("-3"));
    EXPECT_EQ(25, record.get_keepalive_interval());
    ASSERT_TRUE(record.parse_prefixlen("56"));
    EXPECT_FALSE(record.parse_prefixlen("200"));
    EXPECT_EQ(56, record.get_prefixlen());
}

TEST(ConfigRecord, IndicesOutsideTheTablesAreRefused) {
    ConfigRecord record;
    EXPECT_TRUE(record.set_tunnel_mode(3));
    EXPECT_TRUE(record.set_auth_method(2));
    EXPECT_FALSE(record.set_tunnel_mode(-1));
    EXPECT_FALSE(record.set_tunnel_mode(4));
    EXPECT_FALSE(record.set_auth_method(4));
    EXPECT_FALSE(record.set_auth_method(-32768));
    EXPECT_EQ(3, record.get_tunnel_mode());
    EXPECT_EQ(2, record.get_auth_method());
}

TEST(ConfigRecord, TunnelModeKeywordsIgnoreCaseButNothingElse) {
    ConfigRecord record;
    EXPECT_TRUE(record.parse_tunnel_mode("V4V6"));
    EXPECT_EQ(3, record.get_tunnel_mode());
    EXPECT_TRUE(record.parse_tunnel_mode("v6UDPv4"));
    EXPECT_EQ(2, record.get_tunnel_mode());
    EXPECT_FALSE(record.parse_tunnel_mode("V4V6 "));
    EXPECT_FALSE(record.parse_tunnel_mode(""));
    EXPECT_EQ(2, record.get_tunnel_mode());
}

TEST(ConfigRecord, AuthMethodKeywordsDecideAnonymous) {
    ConfigRecord record;
    ASSERT_TRUE(record.set_auth_method(3));
    EXPECT_TRUE(record.parse_auth_method("AnonYmous"));
    EXPECT_TRUE(record.get_anonymous());
    EXPECT_EQ(0, record.get_auth_method());

    EXPECT_TRUE(record.parse_auth_method("PLAIN"));
    EXPECT_FALSE(record.get_anonymous());
    EXPECT_EQ(2, record.get_auth_method());

    record.set_anonymous(true);
    EXPECT_FALSE(record.parse_auth_method("kerberos"));
    EXPECT_FALSE(record.get_anonymous());
    EXPECT_EQ(2, record.get_auth_method());

    // The flag alone leaves the method for when anonymous access is turned off again.
    record.set_anonymous(true);
    EXPECT_EQ(2, record.get_auth_method());
}

TEST(ConfigRecord, CopiesAndAssignmentTakeAllFourteenValues) {
    ConfigRecord source;
    source.set_server("tunnel.example");
    source.set_userid("alice");
    source.set_passwd("secret");
    source.set_dns_server("ns.example");
    source.set_client_v4("192.0.2.7");
    source.set_client_v6("2001:db8::7");
    source.parse_keepalive_interval("30");
    source.set_tunnel_mode(1);
    source.set_auth_method(3);
    source.parse_prefixlen("56");
    source.parse_if_prefix("9");
    source.set_router(true);
    source.set_anonymous(false);
    source.set_keepalive(false);

    ConfigRecord target;
    target.assign_from(source);
    EXPECT_EQ(dump(source), dump(target));
    const ConfigRecord copy(source);
    EXPECT_EQ(dump(source), dump(copy));

    // Copies own their texts.
    source.set_server("other");
    EXPECT_STREQ("tunnel.example", target.get_server());
    EXPECT_STREQ("tunnel.example", copy.get_server());
    target.assign_from(target);
    EXPECT_STREQ("tunnel.example", target.get_server());
}
