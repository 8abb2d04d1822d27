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
    } cases[] = {
        {"", 4096, false, server},
        {"server=s\nauth_method=plain\nuserid=u", 4096, false, password},
        {"server=s\nauth_method=plain\nuserid=u\npasswd=p\nhost_type=router", 4096, true, ""},
        {"auth_method=plain", server.size() + username.size() + password.size(), false,
         server + username + password.substr(0, password.size() - 1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings + " / " + std::to_string(c.capacity));
        ConfigRecord record;
        read_config_text(c.settings.data(), c.settings.size(), record);
        char messages[4097];
        std::memset(messages, '#', sizeof messages);
        EXPECT_EQ(c.valid, record.validate(messages, c.capacity, MessageIds()));
        EXPECT_EQ(c.messages, messages);
        EXPECT_EQ(0, messages[c.capacity - 1]);
        EXPECT_EQ('#', messages[c.capacity]);
    }
}
