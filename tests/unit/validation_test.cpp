#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>

#include "config/config_record.h"
#include "config/text_loader.h"
#include "res/resource.h"

namespace {

// The string table's messages, as the Windows string table holds them.
class MessageTable : public TextLoader {
public:
    void load(unsigned id, char* buffer, std::size_t capacity) const override {
        const char* text = "";
        switch (id) {
        case IDS_ERR_SERVER: text = "Error: The RYX server field is mandatory."; break;
        case IDS_ERR_PREFIXLEN: text = "Error: You must enter a valid prefix length[1-128]."; break;
        case IDS_ERR_PREFIX_INTERFACE:
            text = "Error: You must enter a valid prefix interface index[1-128].";
            break;
        case IDS_ERR_USERNAME: text = "Error: You must enter a valid username."; break;
        case IDS_ERR_PASSWORD: text = "Error: You must enter a valid password."; break;
        default: break;
        }
        std::strncpy(buffer, text, capacity - 1);
        buffer[capacity - 1] = '\0';
    }
};

const std::string server_line = "Error: The RYX server field is mandatory.\n";
const std::string username_line = "Error: You must enter a valid username.\n";
const std::string password_line = "Error: You must enter a valid password.\n";

struct ValidationCase {
    const char* name;
    std::function<void(ConfigRecord&)> prepare; // applied to a default record
    std::string messages;
};

} // namespace

TEST(Validation, CollectsOneLinePerFailedRuleInRuleOrder) {
    const ValidationCase cases[] = {
        {"default with server", [](auto& r) { r.set_server("s"); }, ""},
        {"default without server", [](auto&) {}, server_line},
        {"server of one blank", [](auto& r) { r.set_server(" "); }, ""},
        {"named without credentials",
         [](auto& r) {
             r.set_server("s");
             r.set_anonymous(false);
         },
         username_line + password_line},
        {"named, nothing set", [](auto& r) { r.set_anonymous(false); },
         server_line + username_line + password_line},
        {"named, password only missing",
         [](auto& r) {
             r.set_server("s");
             r.set_anonymous(false);
             r.set_userid("u");
         },
         password_line},
        {"anonymous ignores credentials",
         [](auto& r) {
             r.set_server("s");
             r.set_userid("");
         },
         ""},
        {"router with default prefix",
         [](auto& r) {
             r.set_server("s");
             r.set_router(true);
         },
         ""},
    };
    for (const ValidationCase& c : cases) {
        ConfigRecord record;
        c.prepare(record);
        char messages[4096];
        std::memset(messages, 'x', sizeof messages);
        EXPECT_EQ(c.messages.empty(), record.validate(messages, sizeof messages, MessageTable()))
            << c.name;
        EXPECT_EQ(c.messages, messages) << c.name;
        EXPECT_EQ(0, messages[sizeof messages - 1]) << "buffer not zeroed: " << c.name;
    }
}

TEST(Validation, SmallBufferIsCutAndStillFails) {
    ConfigRecord record;
    record.set_anonymous(false);
    char messages[50];
    EXPECT_FALSE(record.validate(messages, sizeof messages, MessageTable()));
    EXPECT_EQ((server_line + username_line).substr(0, 49), messages);

    char none[1];
    EXPECT_FALSE(record.validate(none, sizeof none, MessageTable()));
    EXPECT_STREQ("", none);
}

TEST(Validation, UnloadableMessageStillFails) {
    class Silent : public TextLoader {
        void load(unsigned, char* buffer, std::size_t) const override { buffer[0] = '\0'; }
    };
    ConfigRecord record;
    char messages[16];
    EXPECT_FALSE(record.validate(messages, sizeof messages, Silent()));
    EXPECT_STREQ("\n", messages);
}
