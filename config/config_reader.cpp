#include "config/config_reader.h"

#include <cstdio>
#include <cstring>

#include "config/config_record.h"

namespace {

// The longest line taken is 2047 characters; a longer one is passed over whole.
constexpr std::size_t line_capacity = 2048;
constexpr std::size_t block_size = 4096;

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

// Cuts a text that arrives in pieces into lines and reads each as it ends.
class LineCutter {
public:
    explicit LineCutter(ConfigRecord& record) : record_(record) {}

    void feed(const char* bytes, std::size_t size) {
        for (const char* end = bytes + size; bytes < end; ++bytes) {
            if (*bytes == '\n') {
                end_line();
            } else if (length_ < line_capacity) { // one more for a carriage return
                line_[length_++] = *bytes;
            } else {
                overlong_ = true;
            }
        }
    }

    // The last line needs no line feed.
    void finish() {
        if (length_ > 0 || overlong_) {
            end_line();
        }
    }

private:
    void end_line() {
        // Over-long: dropped whole, so that nothing in a long value can be read as a line
        // of its own. A carriage return before the line feed ends the line, as text mode
        // reads it.
        if (!overlong_ && length_ > 0 && line_[length_ - 1] == '\r') {
            --length_;
        }
        if (!overlong_ && length_ < line_capacity) {
            line_[length_] = '\0';
            read_line(line_, record_);
        }
        length_ = 0;
        overlong_ = false;
    }

    ConfigRecord& record_;
    char line_[line_capacity];
    std::size_t length_ = 0;
    bool overlong_ = false;
};

} // namespace

void read_config_text(const char* text, std::size_t size, ConfigRecord& record) {
    LineCutter lines(record);
    lines.feed(text, size);
    lines.finish();
}

bool read_config_file(const char* path, ConfigRecord& record) {
    std::FILE* const file = std::fopen(path, "r");
    if (file == nullptr) {
        return false;
    }
    LineCutter lines(record);
    char block[block_size];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;) {
        lines.feed(block, got);
    }
    lines.finish();
    std::fclose(file);
    return true;
}
