#include "win/registry_fixture.h"

#include "base/owned_handle.h"

namespace {
constexpr const char* key_path = "SOFTWARE\\Quorix\\RYX Client";
}

bool RegistryFixture::set_raw_value(DWORD type, const void* data, DWORD size) {
    HKEY created = nullptr;
    const bool opened = RegCreateKeyExA(HKEY_LOCAL_MACHINE, key_path, 0, nullptr, 0, KEY_SET_VALUE,
                                        nullptr, &created, nullptr) == ERROR_SUCCESS;
    const OwnedHandle key(opened ? created : nullptr, RegCloseKey);
    return opened && RegSetValueExA(key.get(), "installdir", 0, type,
                                    static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

void RegistryFixture::remove_key() {
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key_path, KEY_WOW64_64KEY, 0);
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key_path, KEY_WOW64_32KEY, 0);
}
