#include "config/config_record.h"

#include <cstring>

#include "base/bounded_text.h"
#include "base/text_loader.h"
#include "res/resource.h"

const char* const ConfigRecord::auth_method_keywords[keyword_count] = {"any", "digest-md5", "plain",
                                                                       "passdss-3des-1"};
const char* const ConfigRecord::tunnel_mode_keywords[keyword_count] = {"v6anyv4", "v6v4", "v6udpv4",
                                                                       "v4v6"};

namespace {

constexpr std::int16_t prefix_minimum = 1;
constexpr std::int16_t prefix_maximum = 128;
constexpr std::size_t message_capacity = 256;

const char* text_or_null(const char* text) {
    return text[0] != '\0' ? text : nullptr;
}

// Index of keyword in a four-row table, ignoring letter case; -1 when absent.
int find_keyword(const char* const (&table)[ConfigRecord::keyword_count], const char* keyword) {
    for (int index = 0; index < ConfigRecord::keyword_count; ++index) {
        if (equals_ignoring_case(table[index], keyword)) {
            return index;
        }
    }
    return -1;
}

bool parse_prefix_number(const char* text, std::int16_t& field) {
    const std::int32_t value = to_int32(text);
    if (value < prefix_minimum || value > prefix_maximum) {
        return false;
    }
    field = static_cast<std::int16_t>(value);
    return true;
}

} // namespace

ConfigRecord::ConfigRecord()
    : server_{}, userid_{}, passwd_{}, dns_server_{}, client_v4_{"auto"}, client_v6_{"auto"},
      keepalive_interval_(0), tunnel_mode_(0), auth_method_(0), prefixlen_(48), if_prefix_(4),
      router_(false), anonymous_(true), keepalive_(true) {}

void ConfigRecord::assign_from(const ConfigRecord& other) {
    if (this != &other) {
        *this = other;
    }
}

void ConfigRecord::set_server(const char* text) {
    copy_text(server_, sizeof server_, text);
}
const char* ConfigRecord::get_server() const {
    return text_or_null(server_);
}

void ConfigRecord::set_userid(const char* text) {
    copy_text(userid_, sizeof userid_, text);
}
const char* ConfigRecord::get_userid() const {
    return text_or_null(userid_);
}

void ConfigRecord::set_passwd(const char* text) {
    copy_text(passwd_, sizeof passwd_, text);
}
const char* ConfigRecord::get_passwd() const {
    return text_or_null(passwd_);
}

bool ConfigRecord::set_dns_server(const char* text) {
    copy_text(dns_server_, sizeof dns_server_, text);
    return true;
}
const char* ConfigRecord::get_dns_server() const {
    return text_or_null(dns_server_);
}

bool ConfigRecord::set_client_v4(const char* text) {
    std::memset(client_v4_, 0, sizeof client_v4_);
    copy_text(client_v4_, sizeof client_v4_, text);
    return true;
}
const char* ConfigRecord::get_client_v4() const {
    return text_or_null(client_v4_);
}

bool ConfigRecord::set_client_v6(const char* text) {
    std::memset(client_v6_, 0, sizeof client_v6_);
    copy_text(client_v6_, sizeof client_v6_, text);
    return true;
}
const char* ConfigRecord::get_client_v6() const {
    return text_or_null(client_v6_);
}

bool ConfigRecord::parse_keepalive_interval(const char* text) {
    const std::int32_t value = to_int32(text);
    if (value < 0) {
        return false;
    }
    keepalive_interval_ = value;
    return true;
}

bool ConfigRecord::parse_prefixlen(const char* text) {
    return parse_prefix_number(text, prefixlen_);
}

bool ConfigRecord::parse_if_prefix(const char* text) {
    return parse_prefix_number(text, if_prefix_);
}

bool ConfigRecord::set_tunnel_mode(int index) {
    if (index < 0 || index >= keyword_count) {
        return false;
    }
    tunnel_mode_ = static_cast<std::int16_t>(index);
    return true;
}

bool ConfigRecord::set_auth_method(int index) {
    if (index < 0 || index >= keyword_count) {
        return false;
    }
    auth_method_ = static_cast<std::int16_t>(index);
    return true;
}

bool ConfigRecord::parse_tunnel_mode(const char* keyword) {
    return set_tunnel_mode(find_keyword(tunnel_mode_keywords, keyword));
}

bool ConfigRecord::parse_auth_method(const char* keyword) {
    if (equals_ignoring_case(keyword, anonymous_keyword)) {
        anonymous_ = true;
        auth_method_ = 0;
        return true;
    }
    anonymous_ = false;
    return set_auth_method(find_keyword(auth_method_keywords, keyword));
}

bool ConfigRecord::operator==(const ConfigRecord& other) const {
    return std::strcmp(server_, other.server_) == 0 && std::strcmp(userid_, other.userid_) == 0 &&
           std::strcmp(passwd_, other.passwd_) == 0 &&
           std::strcmp(dns_server_, other.dns_server_) == 0 &&
           std::strcmp(client_v4_, other.client_v4_) == 0 &&
           std::strcmp(client_v6_, other.client_v6_) == 0 &&
           keepalive_interval_ == other.keepalive_interval_ && tunnel_mode_ == other.tunnel_mode_ &&
           auth_method_ == other.auth_method_ && prefixlen_ == other.prefixlen_ &&
           if_prefix_ == other.if_prefix_ && router_ == other.router_ &&
           anonymous_ == other.anonymous_ && keepalive_ == other.keepalive_;
}

bool ConfigRecord::validate(char* messages, std::size_t capacity, const TextLoader& texts,
                            unsigned* first_failed) const {
    struct Rule {
        bool failed;
        unsigned message_id;
    };
    const Rule rules[] = {
        {server_[0] == '\0', IDS_ERR_SERVER},
        {router_ && prefixlen_ < prefix_minimum, IDS_ERR_PREFIXLEN},
        {router_ && if_prefix_ < prefix_minimum, IDS_ERR_PREFIX_INTERFACE},
        {!anonymous_ && userid_[0] == '\0', IDS_ERR_USERNAME},
        {!anonymous_ && passwd_[0] == '\0', IDS_ERR_PASSWORD},
    };

    if (capacity > 0) {
        std::memset(messages, 0, capacity);
    }
    bool passed = true;
    for (const Rule& rule : rules) {
        if (rule.failed) {
            if (passed && first_failed != nullptr) {
                *first_failed = rule.message_id;
            }
            char message[message_capacity] = {};
            texts.load(rule.message_id, message, sizeof message);
            append_line(messages, capacity, message);
            passed = false;
        }
    }
    return passed;
}
