// A fresh directory for one test, removed with everything in it afterwards.
#pragma once

#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const char* name) const;

private:
    std::string path_;
};

// Whole contents of a file as bytes; empty when it cannot be read.
std::string read_bytes(const std::string& path);
void write_bytes(const std::string& path, const std::string& bytes);
