#include "config/file_calls.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

const char text_line_end[] = "\n";

namespace {

bool read_only_file(const char* path) {
    struct stat status;
    return stat(path, &status) == 0 && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

FileCalls::File create_file(const char* path) {
    return open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}

bool write_all(FileCalls::File file, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(static_cast<int>(file), bytes, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool flush_file(FileCalls::File file) {
    return fsync(static_cast<int>(file)) == 0;
}

bool close_file(FileCalls::File file) {
    return close(static_cast<int>(file)) == 0;
}

long long file_size(const char* path) {
    struct stat status;
    return stat(path, &status) == 0 ? static_cast<long long>(status.st_size) : -1;
}

bool replace_file(const char* replacement, const char* target) {
    // Keep the mode of the file being replaced, as the Windows replacement keeps attributes.
    struct stat status;
    if (stat(target, &status) == 0 && chmod(replacement, status.st_mode & 07777) != 0) {
        return false;
    }
    return std::rename(replacement, target) == 0;
}

bool remove_file(const char* path) {
    return unlink(path) == 0;
}

} // namespace

const FileCalls FileCalls::system = {
    read_only_file, create_file, write_all,    flush_file,
    close_file,     file_size,   replace_file, remove_file,
};
