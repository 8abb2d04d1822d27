#include "config/config_record.h"

#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

#include "base/text_loader.h"
#include "config/config_reader.h"
#include "res/resource.h"

namespace {

// Each message as its string id, so that the text shows which rules failed.
struct MessageIds : TextLoader {
    void load(unsigned id, char* buffer, std::size_t capacity) const override {
        std::snprintf(buffer, capacity, "%u", id);
    }
};

const std::string server = std::to_string(IDS_ERR_SERVER) + "\n";
const std::string username = std::to_string(IDS_ERR_USERNAME) + "\n";
const std::string password = std::to_string(IDS_ERR_PASSWORD) + "\n";

} // namespace

// Messages are zeroed first and cut within their capacity; the last cut leaves room for a
// message but not for its line feed.
TEST(Validation, CollectsOneLinePerFailedRuleInRuleOrder) {
    const struct {
        std::string settings;
        std::size_t capacity;
        bool valid;
        std::string messages;
        unsigned first_failed; // 0: none
    } cases[] = {
        {"", 4096, false, server, IDS_ERR_SERVER},
        {"server=s\nauth_method=plain\nuserid=u", 4096, false, password, IDS_ERR_PASSWORD},
        {"server=s\nauth_method=plain\nuserid=u\npasswd=p\nhost_type=router", 4096, true, "", 0},
        {"auth_method=plain", server.size() + username.size() + password.size(), false,
         server + username + password.substr(0, password.size() - 1), IDS_ERR_SERVER},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings + " / " + std::to_string(c.capacity));
        ConfigRecord record;
        read_config_text(c.settings.data(), c.settings.size(), record);
        char messages[4097];
        std::memset(messages, '#', sizeof messages);
        unsigned first_failed = 0;
        EXPECT_EQ(c.valid, record.validate(messages, c.capacity, MessageIds(), &first_failed));
        EXPECT_EQ(c.first_failed, first_failed);
        EXPECT_EQ(c.messages, messages);
        EXPECT_EQ(0, messages[c.capacity - 1]);
        EXPECT_EQ('#', messages[c.capacity]);
    }
}

// Closing asks about unapplied changes by this comparison: a change of any one value counts.
TEST(ConfigRecord, DiffersFromAnotherByAnyOneOfItsValues) {
    const ConfigRecord defaults;
    EXPECT_TRUE(defaults == ConfigRecord(defaults));
    for (const char* one_change :
         {"server=s", "userid=u", "passwd=p", "dns_server=d", "client_v4=1.2.3.4", "client_v6=::1",
          "keepalive_interval=5", "tunnel_mode=v4v6", "auth_method=plain", "prefixlen=64",
          "if_prefix=5", "host_type=router", "keepalive=no"}) {
        ConfigRecord changed;
        ASSERT_TRUE(read_config_text(one_change, std::strlen(one_change), changed));
        EXPECT_TRUE(changed != defaults) << one_change;
    }
}
