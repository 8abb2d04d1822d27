#include "config/config_record.h"

#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

#include "config/config_reader.h"
#include "config/text_loader.h"
#include "res/resource.h"
#include "support/record_dump.h"

namespace {

const std::string default_dump =
    "server=(null)\nuserid=(null)\npasswd=(null)\ndns_server=(null)\nclient_v4=auto\n"
    "client_v6=auto\nkeepalive_interval=0\ntunnel_mode=0\nauth_method=0\nprefixlen=48\n"
    "if_prefix=4\nrouter=0\nanonymous=1\nkeepalive=1\n";

const std::string server_line = "Error: The RYX server field is mandatory.\n";
const std::string username_line = "Error: You must enter a valid username.\n";
const std::string password_line = "Error: You must enter a valid password.\n";

// The messages as the string table holds them; the prefix rules cannot fail on a record.
struct MessageTable : TextLoader {
    void load(unsigned id, char* buffer, std::size_t capacity) const override {
        const std::string text = id == IDS_ERR_SERVER     ? server_line
                                 : id == IDS_ERR_USERNAME ? username_line
                                 : id == IDS_ERR_PASSWORD ? password_line
                                                          : "\n";
        std::snprintf(buffer, capacity, "%s", text.substr(0, text.size() - 1).c_str());
    }
};

} // namespace

// Defaults are the client's; refused values change nothing. The file cannot give an empty
// number or text; the Advanced window can, and an empty text reads as none.
TEST(ConfigRecord, DefaultsStayThroughRefusedIndicesKeywordsAndNumbers) {
    ConfigRecord record;
    for (const int index : {-1, 4, 65536}) {
        EXPECT_FALSE(record.set_tunnel_mode(index) || record.set_auth_method(index)) << index;
    }
    EXPECT_FALSE(record.parse_prefixlen("") || record.parse_if_prefix(""));
    ASSERT_TRUE(record.parse_keepalive_interval("25"));
    EXPECT_TRUE(record.parse_keepalive_interval("")); // an empty interval is 0
    record.set_server("s");
    record.set_server("");
    EXPECT_FALSE(record.parse_auth_method("kerberos"));
    record.set_anonymous(true); // which the unknown method cleared all the same
    EXPECT_EQ(default_dump, dump(record));
}

// Messages are zeroed first and cut within their capacity; the last cut leaves room for a
// message but not for its line feed.
TEST(Validation, CollectsOneLinePerFailedRuleInRuleOrder) {
    const std::string all = server_line + username_line + password_line;
    const struct {
        std::string settings;
        std::size_t capacity;
        bool valid;
        std::string messages;
    } cases[] = {
        {"server=s", 4096, true, ""},
        {"", 4096, false, server_line},
        {"server= ", 4096, true, ""},
        {"auth_method=plain", 4096, false, all},
        {"server=s\nauth_method=plain\npasswd=p", 4096, false, username_line},
        {"server=s\nauth_method=plain\nuserid=u", 4096, false, password_line},
        {"server=s\nauth_method=plain\nuserid=u\npasswd=p\nhost_type=router", 4096, true, ""},
        {"auth_method=plain", 1, false, ""},
        {"auth_method=plain", 50, false, all.substr(0, 49)},
        {"auth_method=plain", server_line.size() + 40, false,
         all.substr(0, server_line.size() + 39)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings + " / " + std::to_string(c.capacity));
        ConfigRecord record;
        read_config_text(c.settings.data(), c.settings.size(), record);
        char messages[4097];
        std::memset(messages, '#', sizeof messages);
        EXPECT_EQ(c.valid, record.validate(messages, c.capacity, MessageTable()));
        EXPECT_EQ(c.messages, messages);
        EXPECT_EQ(0, messages[c.capacity - 1]);
        EXPECT_EQ('#', messages[c.capacity]);
    }
}
