#include "config/config_reader.h"

#include <cerrno>
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

// A UTF-16 text: its byte-order mark, or NUL bytes in every other place of the line.
bool looks_like_utf16(const char* line, std::size_t length) {
    if (length < 2) {
        return false;
    }
    const unsigned char first = static_cast<unsigned char>(line[0]);
    const unsigned char second = static_cast<unsigned char>(line[1]);
    if ((first == 0xFF && second == 0xFE) || (first == 0xFE && second == 0xFF)) {
        return true;
    }
    bool even_nul = true, odd_nul = true;
    for (std::size_t at = 0; at < length; ++at) {
        if (line[at] != '\0') {
            (at % 2 == 0 ? even_nul : odd_nul) = false;
        }
    }
    return even_nul || odd_nul;
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
        for (const char* end = bytes + size; bytes < end && !not_text_; ++bytes) {
            if (*bytes == '\n') {
                end_line();
            } else if (length_ < line_capacity) { // one more for a carriage return
                line_[length_++] = *bytes;
                skip_utf8_mark();
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

    // Decided on the first line, before anything of it is taken.
    bool not_text() const { return not_text_; }

private:
    // Editors put a UTF-8 mark before the first key; the writer never writes one.
    void skip_utf8_mark() {
        if (first_line_ && !mark_checked_ && length_ == 3) {
            mark_checked_ = true;
            if (std::memcmp(line_, "\xEF\xBB\xBF", 3) == 0) {
                length_ = 0;
            }
        }
    }

    void end_line() {
        if (first_line_) {
            first_line_ = false;
            not_text_ = looks_like_utf16(line_, length_);
            if (not_text_) {
                return;
            }
        }
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
    bool first_line_ = true;
    bool mark_checked_ = false;
    bool not_text_ = false;
};

} // namespace

bool read_config_text(const char* text, std::size_t size, ConfigRecord& record) {
    LineCutter lines(record);
    lines.feed(text, size);
    lines.finish();
    return !lines.not_text();
}

ConfigFileRead read_config_file(const char* path, ConfigRecord& record) {
    errno = 0;
    std::FILE* const file = std::fopen(path, "r");
    if (file == nullptr) {
        return errno == ENOENT ? ConfigFileRead::missing : ConfigFileRead::unreadable;
    }
    // Read into a copy: a file that breaks off half-way changes nothing.
    ConfigRecord read = record;
    LineCutter lines(read);
    char block[block_size];
    std::size_t got;
    while (!lines.not_text() && (got = std::fread(block, 1, sizeof block, file)) > 0) {
        lines.feed(block, got);
    }
    lines.finish();
    const bool broken_off = std::ferror(file) != 0;
    std::fclose(file);
    if (lines.not_text()) {
        return ConfigFileRead::not_text;
    }
    if (broken_off) {
        return ConfigFileRead::unreadable;
    }
    record = read;
    return ConfigFileRead::read;
}
