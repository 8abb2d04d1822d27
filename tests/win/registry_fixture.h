// Sets or removes the registry value that names the client's installation, and restores
// the machine to no installation afterwards.
#pragma once

#include <windows.h>

#include <string>

class RegistryFixture {
public:
    RegistryFixture();
    ~RegistryFixture(); // removes the key
    RegistryFixture(const RegistryFixture&) = delete;
    RegistryFixture& operator=(const RegistryFixture&) = delete;

    static bool set_install_dir(const std::string& directory);
    static bool set_raw_value(DWORD type, const void* data, DWORD size);
    static void remove_key();
};
