// The tunnel client's settings that the program shows, edits, checks and writes, with the
// keyword tables by which two of them travel in the configuration file.
#pragma once

#include <cstddef>
#include <cstdint>

class TextLoader;

class ConfigRecord {
public:
    // Text capacities in characters; each buffer holds one more byte for the terminator.
    static constexpr std::size_t server_capacity = 1025;
    static constexpr std::size_t userid_capacity = 63;
    static constexpr std::size_t passwd_capacity = 63;
    static constexpr std::size_t dns_server_capacity = 1025;
    static constexpr std::size_t client_address_capacity = 40;

    static constexpr int keyword_count = 4;
    static const char* const auth_method_keywords[keyword_count];
    static const char* const tunnel_mode_keywords[keyword_count];
    static constexpr const char* anonymous_keyword = "anonymous";

    ConfigRecord();
    ConfigRecord(const ConfigRecord& other) = default;
    ConfigRecord& operator=(const ConfigRecord& other) = default;

    void assign_from(const ConfigRecord& other);

    // Text getters return null for an empty text, so that a control can take them directly.
    void set_server(const char* text);
    const char* get_server() const;
    void set_userid(const char* text);
    const char* get_userid() const;
    void set_passwd(const char* text);
    const char* get_passwd() const;
    bool set_dns_server(const char* text);
    const char* get_dns_server() const;
    bool set_client_v4(const char* text);
    const char* get_client_v4() const;
    bool set_client_v6(const char* text);
    const char* get_client_v6() const;

    // Numbers typed or read as text; a refused value leaves the field as it was.
    bool parse_keepalive_interval(const char* text);
    std::int32_t get_keepalive_interval() const { return keepalive_interval_; }
    bool parse_prefixlen(const char* text);
    std::int16_t get_prefixlen() const { return prefixlen_; }
    bool parse_if_prefix(const char* text);
    std::int16_t get_if_prefix() const { return if_prefix_; }

    bool set_tunnel_mode(int index);
    int get_tunnel_mode() const { return tunnel_mode_; }
    bool set_auth_method(int index);
    int get_auth_method() const { return auth_method_; }
    bool parse_tunnel_mode(const char* keyword);
    bool parse_auth_method(const char* keyword);

    void set_router(bool on) { router_ = on; }
    bool get_router() const { return router_; }
    void set_anonymous(bool on) { anonymous_ = on; }
    bool get_anonymous() const { return anonymous_; }
    void set_keepalive(bool on) { keepalive_ = on; }
    bool get_keepalive() const { return keepalive_; }

    // Checks the record before it is written; collects one line per failed rule into
    // messages (zeroed first) and returns true when none failed. The first failed rule's
    // message id goes to first_failed, when given.
    bool validate(char* messages, std::size_t capacity, const TextLoader& texts,
                  unsigned* first_failed = nullptr) const;

    // Whether both hold the same fourteen values.
    bool operator==(const ConfigRecord& other) const;
    bool operator!=(const ConfigRecord& other) const { return !(*this == other); }

private:
    char server_[server_capacity + 1];
    char userid_[userid_capacity + 1];
    char passwd_[passwd_capacity + 1];
    char dns_server_[dns_server_capacity + 1];
    char client_v4_[client_address_capacity + 1];
    char client_v6_[client_address_capacity + 1];
    std::int32_t keepalive_interval_;
    std::int16_t tunnel_mode_;
    std::int16_t auth_method_;
    std::int16_t prefixlen_;
    std::int16_t if_prefix_;
    bool router_;
    bool anonymous_;
    bool keepalive_;
};
