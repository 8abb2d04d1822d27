#include "config/temporary_config_file.h"

#include "config/clock_time.h"
#include "config/config_writer.h"

TemporaryConfigFile::TemporaryConfigFile(const char* install_dir, const ConfigRecord& record,
                                         const std::string& folder, const FileCalls& calls)
    : calls_(calls) {
    // Shared with nobody while it is written, so that nobody reads it half-written; it holds
    // the password, and the user's own folder is the user's.
    const std::string bytes = config_file_bytes(install_dir, record, ClockTime::now());
    const FileCalls::File file = calls_.create_temporary(folder.c_str(), path_, sizeof path_);
    if (file == FileCalls::no_file) {
        path_[0] = '\0';
        error_ = calls_.last_error();
    } else {
        const bool written = calls_.write(file, bytes.data(), bytes.size()) && calls_.flush(file);
        const unsigned long reason = written ? 0 : calls_.last_error();
        const bool closed = calls_.close(file);
        if (!written || !closed) {
            error_ = !written ? reason : calls_.last_error();
            calls_.remove(path_);
            path_[0] = '\0';
        }
    }
    if (!is_made() && error_ == 0) {
        error_ = unexplained_write_error;
    }
}

TemporaryConfigFile::~TemporaryConfigFile() {
    if (is_made()) {
        calls_.remove(path_);
    }
}
