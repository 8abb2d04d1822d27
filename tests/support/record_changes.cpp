#include "support/record_changes.h"

#include <sstream>

#include "config/config_record.h"

namespace {
const char* shown(const char* text) {
    return text != nullptr ? text : "(null)";
}
} // namespace

std::string changes(const ConfigRecord& record) {
    // Written out here, not taken from a default record: they are what a default record must be.
    std::istringstream defaults(
        "server=(null)\nuserid=(null)\npasswd=(null)\ndns_server=(null)\nclient_v4=auto\n"
        "client_v6=auto\nkeepalive_interval=0\ntunnel_mode=0\nauth_method=0\nprefixlen=48\n"
        "if_prefix=4\nrouter=0\nanonymous=1\nkeepalive=1\n");
    std::ostringstream values;
    values << "server=" << shown(record.get_server()) << "\nuserid=" << shown(record.get_userid())
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
    std::istringstream lines(values.str());
    std::string changed;
    for (std::string line, default_line;
         std::getline(lines, line) && std::getline(defaults, default_line);) {
        if (line != default_line) {
            changed += line + "\n";
        }
    }
    return changed;
}
