#include "win/registry_fixture.h"

namespace {
constexpr const char* key_path = "SOFTWARE\\Quorix\\RYX Client";
}

bool RegistryFixture::set_raw_value(DWORD type, const void* data, DWORD size, REGSAM view) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key_path, 0, nullptr, 0, KEY_SET_VALUE | view, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const bool set = RegSetValueExA(key, "installdir", 0, type, static_cast<const BYTE*>(data),
                                    size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return set;
}

void RegistryFixture::remove_key() {
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key_path, KEY_WOW64_64KEY, 0);
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key_path, KEY_WOW64_32KEY, 0);
}
