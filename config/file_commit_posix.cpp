#include "config/file_commit.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool is_read_only_file(const char* path) {
    struct stat status;
    return stat(path, &status) == 0 && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool flush_file_to_disk(const char* path) {
    const int file = open(path, O_RDONLY);
    if (file < 0) {
        return false;
    }
    const bool flushed = fsync(file) == 0;
    return close(file) == 0 && flushed;
}

bool commit_file(const char* replacement, const char* target) {
    // Keep the mode of the file being replaced, as the Windows replacement keeps attributes.
    struct stat status;
    if (stat(target, &status) == 0 && chmod(replacement, status.st_mode & 07777) != 0) {
        return false;
    }
    return std::rename(replacement, target) == 0;
}
