#include "support/record_changes.h"

#include "config/config_record.h"

std::string changes(const ConfigRecord& record) {
    std::string changed;
    // The defaults written out here, not taken from a default record: they are what a default
    // record must be.
    const auto field = [&changed](const char* name, const std::string& value,
                                  const char* default_value) {
        if (value != default_value) {
            changed += std::string(name) + "=" + value + "\n";
        }
    };
    const auto text = [](const char* value) { return value != nullptr ? value : "(null)"; };
    field("server", text(record.get_server()), "(null)");
    field("userid", text(record.get_userid()), "(null)");
    field("passwd", text(record.get_passwd()), "(null)");
    field("dns_server", text(record.get_dns_server()), "(null)");
    field("client_v4", text(record.get_client_v4()), "auto");
    field("client_v6", text(record.get_client_v6()), "auto");
    field("keepalive_interval", std::to_string(record.get_keepalive_interval()), "0");
    field("tunnel_mode", std::to_string(record.get_tunnel_mode()), "0");
    field("auth_method", std::to_string(record.get_auth_method()), "0");
    field("prefixlen", std::to_string(record.get_prefixlen()), "48");
    field("if_prefix", std::to_string(record.get_if_prefix()), "4");
    field("router", std::to_string(record.get_router()), "0");
    field("anonymous", std::to_string(record.get_anonymous()), "1");
    field("keepalive", std::to_string(record.get_keepalive()), "1");
    return changed;
}
