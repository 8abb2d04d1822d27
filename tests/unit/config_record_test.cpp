#include "config/config_record.h"

#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

#include "config/config_reader.h"
#include "config/text_loader.h"
#include "res/resource.h"
#include "support/record_dump.h"

namespace {

const std::string default_dump =
    "server=(null)\nuserid=(null)\npasswd=(null)\ndns_server=(null)\nclient_v4=auto\n"
    "client_v6=auto\nkeepalive_interval=0\ntunnel_mode=0\nauth_method=0\nprefixlen=48\n"
    "if_prefix=4\nrouter=0\nanonymous=1\nkeepalive=1\n";

// The messages as the string table holds them; the prefix rules cannot fail on a record.
class MessageTable : public TextLoader {
public:
    void load(unsigned id, char* buffer, std::size_t capacity) const override {
        static const std::map<unsigned, const char*> texts = {
            {IDS_ERR_SERVER, "Error: The RYX server field is mandatory."},
            {IDS_ERR_USERNAME, "Error: You must enter a valid username."},
            {IDS_ERR_PASSWORD, "Error: You must enter a valid password."},
        };
        const auto text = texts.find(id);
        std::strncpy(buffer, text != texts.end() ? text->second : "", capacity - 1);
        buffer[capacity - 1] = '\0';
    }
};

const std::string server_line = "Error: The RYX server field is mandatory.\n";
const std::string username_line = "Error: You must enter a valid username.\n";
const std::string password_line = "Error: You must enter a valid password.\n";

} // namespace

TEST(ConfigRecord, DefaultsAreTheClientsDefaults) {
    EXPECT_EQ(default_dump, dump(ConfigRecord()));
}

TEST(ConfigRecord, TextsAreCutToTheirCapacityAndEmptyReadsAsNull) {
    ConfigRecord r;
    const std::string long_text(2000, 'x');
    const char* const text = long_text.c_str();
    r.set_server(text);
    r.set_userid(text);
    r.set_passwd(text);
    EXPECT_TRUE(r.set_dns_server(text) && r.set_client_v4(text) && r.set_client_v6(text));
    EXPECT_EQ(
        (std::vector<std::size_t>{1025, 63, 63, 1025, 40, 40}),
        (std::vector<std::size_t>{std::strlen(r.get_server()), std::strlen(r.get_userid()),
                                  std::strlen(r.get_passwd()), std::strlen(r.get_dns_server()),
                                  std::strlen(r.get_client_v4()), std::strlen(r.get_client_v6())}));
    r.set_userid("u"); // nothing of the longer text stays behind
    EXPECT_STREQ("u", r.get_userid());
    r.set_server("");
    EXPECT_EQ(nullptr, r.get_server());
}

// Refused values change nothing. The file cannot give an empty number; the Advanced window can.
TEST(ConfigRecord, RefusedIndicesKeywordsAndNumbersChangeNothing) {
    ConfigRecord record;
    for (const int index : {-1, 4, 65536}) {
        EXPECT_FALSE(record.set_tunnel_mode(index) || record.set_auth_method(index)) << index;
    }
    EXPECT_FALSE(record.parse_prefixlen("") || record.parse_if_prefix(""));
    ASSERT_TRUE(record.parse_keepalive_interval("25"));
    EXPECT_TRUE(record.parse_keepalive_interval("")); // an empty interval is 0
    EXPECT_EQ(default_dump, dump(record));

    ASSERT_TRUE(record.set_auth_method(3));
    EXPECT_FALSE(record.parse_auth_method("kerberos")); // clears anonymous all the same
    EXPECT_FALSE(record.get_anonymous());
    EXPECT_EQ(3, record.get_auth_method());
}

TEST(Validation, CollectsOneLinePerFailedRuleInRuleOrder) {
    const std::pair<std::string, std::string> cases[] = {
        // A default record with these settings, and the messages.
        {"server=s", ""},
        {"", server_line},
        {"server= ", ""},
        {"auth_method=plain", server_line + username_line + password_line},
        {"server=s\nauth_method=plain\npasswd=p", username_line},
        {"server=s\nauth_method=plain\nuserid=u", password_line},
        {"server=s\nauth_method=plain\nuserid=u\npasswd=p\nhost_type=router", ""},
    };
    for (const auto& [settings, expected] : cases) {
        ConfigRecord record;
        read_config_text(settings.data(), settings.size(), record);
        char messages[4096];
        std::memset(messages, 'x', sizeof messages);
        EXPECT_EQ(expected.empty(), record.validate(messages, sizeof messages, MessageTable()))
            << settings;
        EXPECT_EQ(expected, messages) << settings;
        EXPECT_EQ(0, messages[sizeof messages - 1]) << "buffer not zeroed: " << settings;
    }
}

TEST(Validation, SmallBufferIsCutWithinItsCapacityAndStillFails) {
    ConfigRecord record;
    record.set_anonymous(false);
    const std::string all = server_line + username_line + password_line;
    // The last size leaves room for a message but not for its line feed.
    for (const std::size_t capacity : {std::size_t{1}, std::size_t{50}, server_line.size() + 40}) {
        char messages[128];
        std::memset(messages, '#', sizeof messages);
        EXPECT_FALSE(record.validate(messages, capacity, MessageTable())) << capacity;
        EXPECT_EQ(all.substr(0, capacity - 1), messages) << capacity;
        EXPECT_EQ('#', messages[capacity]) << "wrote past capacity " << capacity;
    }
}
