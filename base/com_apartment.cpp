#include "base/com_apartment.h"

#include <objbase.h>

#include "base/system_function.h"

namespace {
using CoInitializeFunction = HRESULT(WINAPI*)(void*, DWORD);
using CoUninitializeFunction = void(WINAPI*)();
} // namespace

ComApartment::ComApartment() {
    const auto co_initialize = system_function<CoInitializeFunction>("ole32.dll", "CoInitializeEx");
    entered_ = co_initialize != nullptr &&
               SUCCEEDED(co_initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

ComApartment::~ComApartment() {
    const auto co_uninitialize =
        system_function<CoUninitializeFunction>("ole32.dll", "CoUninitialize");
    if (entered_ && co_uninitialize != nullptr) {
        co_uninitialize();
    }
}
