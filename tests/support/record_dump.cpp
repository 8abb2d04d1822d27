#include "support/record_dump.h"

#include <sstream>

#include "config/config_record.h"

namespace {
const char* shown(const char* text) { return text != nullptr ? text : "(null)"; }
} // namespace

std::string dump(const ConfigRecord& record) {
    std::ostringstream out;
    out << "server=" << shown(record.get_server()) << "\nuserid=" << shown(record.get_userid())
        << "\npasswd=" << shown(record.get_passwd())
        << "\ndns_server=" << shown(record.get_dns_server())
        << "\nclient_v4=" << shown(record.get_client_v4())
        << "\nclient_v6=" << shown(record.get_client_v6())
        << "\nkeepalive_interval=" << record.get_keepalive_interval()
        << "\ntunnel_mode=" << record.get_tunnel_mode()
        << "\nauth_method=" << record.get_auth_method()
        << "\nprefixlen=" << record.get_prefixlen() << "\nif_prefix=" << record.get_if_prefix()
        << "\nrouter=" << record.get_router() << "\nanonymous=" << record.get_anonymous()
        << "\nkeepalive=" << record.get_keepalive() << "\n";
    return out.str();
}
