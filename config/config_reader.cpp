#include "config/config_reader.h"

#include <cstring>
#include <fstream>
#include <istream>
#include <limits>

#include "config/config_record.h"

namespace {

// The longest line taken is 2047 characters; a longer one is passed over whole.
constexpr std::streamsize line_capacity = 2048;

void apply_setting(const char* key, const char* value, ConfigRecord& record) {
    if (std::strcmp(key, "userid") == 0) {
        record.set_userid(value);
    } else if (std::strcmp(key, "passwd") == 0) {
        record.set_passwd(value);
    } else if (std::strcmp(key, "server") == 0) {
        record.set_server(value);
    } else if (std::strcmp(key, "auth_method") == 0) {
        record.parse_auth_method(value);
    } else if (std::strcmp(key, "tunnel_mode") == 0) {
        record.parse_tunnel_mode(value);
    } else if (std::strcmp(key, "client_v4") == 0) {
        record.set_client_v4(value);
    } else if (std::strcmp(key, "client_v6") == 0) {
        record.set_client_v6(value);
    } else if (std::strcmp(key, "keepalive") == 0) {
        record.set_keepalive(std::strcmp(value, "yes") == 0);
    } else if (std::strcmp(key, "keepalive_interval") == 0) {
        record.parse_keepalive_interval(value);
    } else if (std::strcmp(key, "host_type") == 0) {
        record.set_router(std::strcmp(value, "router") == 0);
    } else if (std::strcmp(key, "prefixlen") == 0) {
        record.parse_prefixlen(value);
    } else if (std::strcmp(key, "if_prefix") == 0) {
        record.parse_if_prefix(value);
    } else if (std::strcmp(key, "dns_server") == 0) {
        record.set_dns_server(value);
    }
}

// Splits one line in place into key and value and applies it.
void read_line(char* line, ConfigRecord& record) {
    if (line[0] == '\0' || line[0] == '#') {
        return;
    }
    while (*line == ' ') {
        ++line;
    }
    char* key = line + std::strspn(line, "=");
    char* key_end = key + std::strcspn(key, "=");
    if (key == key_end || *key_end == '\0') {
        return;
    }
    *key_end = '\0';
    char* value = key_end + 1 + std::strspn(key_end + 1, "=");
    value[std::strcspn(value, "=")] = '\0';
    if (*value == '\0') {
        return;
    }
    apply_setting(key, value, record);
}

} // namespace

void read_config_stream(std::istream& in, ConfigRecord& record) {
    char line[line_capacity];
    while (in) {
        in.getline(line, line_capacity);
        if (in.fail() && !in.eof() && in.gcount() == line_capacity - 1) {
            // Over-long: drop it with the rest of its characters, so that nothing in a long
            // value can be read as a line of its own.
            in.clear();
            in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
            continue;
        }
        if (in.gcount() == 0 && !in) {
            break;
        }
        // A carriage return before the line feed ends the line, as text mode reads it.
        const std::size_t length = std::strlen(line);
        if (length > 0 && line[length - 1] == '\r') {
            line[length - 1] = '\0';
        }
        read_line(line, record);
    }
}

bool read_config_file(const char* path, ConfigRecord& record) {
    std::ifstream in(path);
    if (!in.is_open()) {
        return false;
    }
    read_config_stream(in, record);
    return true;
}
