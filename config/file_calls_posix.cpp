#include "config/file_calls.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "config/temporary_name.h"

const char text_line_end[] = "\n";
const unsigned long unexplained_write_error = EIO;

namespace {

constexpr unsigned temporary_attempts = 100;

bool read_only_file(const char* path) {
    struct stat status;
    if (stat(path, &status) != 0 || (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0) {
        return false;
    }
    errno = EACCES;
    return true;
}

FileCalls::File create_temporary_file(const char* folder, char* path, std::size_t capacity) {
    const unsigned first =
        static_cast<unsigned>(getpid()) * 2654435761u ^ static_cast<unsigned>(std::time(nullptr));
    for (unsigned attempt = 0; attempt < temporary_attempts; ++attempt) {
        if (!temporary_file_name(folder, first + attempt, path, capacity)) {
            errno = ENAMETOOLONG;
            return FileCalls::no_file;
        }
        const int file = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (file >= 0) {
            return file;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    path[0] = '\0';
    return FileCalls::no_file;
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

unsigned long error_of_last_call() {
    return static_cast<unsigned long>(errno);
}

} // namespace

std::string user_temporary_folder() {
    const char* const folder = std::getenv("TMPDIR");
    const std::string chosen = folder != nullptr && folder[0] != '\0' ? folder : "/tmp";
    return chosen.back() == '/' ? chosen : chosen + '/';
}

const FileCalls FileCalls::system = {
    read_only_file, create_temporary_file, write_all,   flush_file,         close_file,
    file_size,      replace_file,          remove_file, error_of_last_call,
};
