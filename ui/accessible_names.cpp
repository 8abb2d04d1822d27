#include "ui/accessible_names.h"

#include <initguid.h> // the annotation service's identifiers, defined here without its library

#include <oleacc.h>
#include <vector>

#include "base/system_function.h"

namespace {
using CoCreateInstanceFunction = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
} // namespace

AccessibleNames::AccessibleNames() {
    const auto create = system_function<CoCreateInstanceFunction>("ole32.dll", "CoCreateInstance");
    void* services = nullptr;
    if (create != nullptr && SUCCEEDED(create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                              IID_IAccPropServices, &services))) {
        services_ = static_cast<IAccPropServices*>(services);
    }
}

AccessibleNames::~AccessibleNames() {
    if (services_ != nullptr) {
        services_->Release();
    }
}

bool AccessibleNames::set(HWND control, const char* name) {
    if (services_ == nullptr) {
        return false;
    }
    const int length = MultiByteToWideChar(CP_ACP, 0, name, -1, nullptr, 0);
    std::vector<wchar_t> wide(length > 0 ? static_cast<std::size_t>(length) : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, name, -1, wide.data(), static_cast<int>(wide.size()));
    return SUCCEEDED(services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT),
                                               CHILDID_SELF, PROPID_ACC_NAME, wide.data()));
}
