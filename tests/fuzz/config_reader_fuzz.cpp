// Any bytes as a configuration file: the reader must end, stay inside its buffers and keep
// every field within the record's rules.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "config/config_reader.h"
#include "config/config_record.h"

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void require_text(const char* text, std::size_t capacity) {
    require(text == nullptr || (text[0] != '\0' && std::strlen(text) <= capacity));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ConfigRecord record;
    read_config_text(reinterpret_cast<const char*>(data), size, record);

    require_text(record.get_server(), ConfigRecord::server_capacity);
    require_text(record.get_userid(), ConfigRecord::userid_capacity);
    require_text(record.get_passwd(), ConfigRecord::passwd_capacity);
    require_text(record.get_dns_server(), ConfigRecord::dns_server_capacity);
    require_text(record.get_client_v4(), ConfigRecord::client_address_capacity);
    require_text(record.get_client_v6(), ConfigRecord::client_address_capacity);
    require(record.get_keepalive_interval() >= 0);
    require(record.get_tunnel_mode() >= 0 && record.get_tunnel_mode() < 4);
    require(record.get_auth_method() >= 0 && record.get_auth_method() < 4);
    require(record.get_prefixlen() >= 1 && record.get_prefixlen() <= 128);
    require(record.get_if_prefix() >= 1 && record.get_if_prefix() <= 128);
    // A field can only hold what some line gave it: no key, no change.
    if (std::memchr(data, '=', size) == nullptr) {
        require(record.get_server() == nullptr && record.get_prefixlen() == 48 &&
                record.get_anonymous() && std::strcmp(record.get_client_v4(), "auto") == 0);
    }
    return 0;
}
