#include "win/registry_fixture.h"

namespace {
constexpr const char* key_path = "SOFTWARE\\Quorix\\RYX Client";
}

bool RegistryFixture::set_raw_value(DWORD type, const void* data, DWORD size) {
    // The key made first where it is missing.
    return RegSetKeyValueA(HKEY_LOCAL_MACHINE, key_path, "installdir", type, data, size) ==
           ERROR_SUCCESS;
}

void RegistryFixture::remove_key() {
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key_path, KEY_WOW64_64KEY, 0);
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key_path, KEY_WOW64_32KEY, 0);
}
