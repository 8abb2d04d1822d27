// Sets or removes the registry value that names the client's installation, and restores
// the machine to no installation afterwards.
#pragma once

#include <windows.h>

#include <string>

class RegistryFixture {
public:
    RegistryFixture() { remove_key(); }
    ~RegistryFixture() { remove_key(); }
    RegistryFixture(const RegistryFixture&) = delete;
    RegistryFixture& operator=(const RegistryFixture&) = delete;

    static bool set_install_dir(const std::string& directory) {
        return set_raw_value(REG_SZ, directory.c_str(), static_cast<DWORD>(directory.size() + 1));
    }
    static bool set_raw_value(DWORD type, const void* data, DWORD size);
    static void remove_key(); // from the 64-bit and the 32-bit registry
};
