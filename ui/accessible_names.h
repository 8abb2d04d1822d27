// Names that screen readers read for controls whose own text cannot say it, such as an icon:
// set through the system's accessibility annotations, on the window's thread. COM and the
// accessibility library are loaded on first use only.
#pragma once

#include <windows.h>

#include <memory>

#include "base/com_apartment.h"

struct IAccPropServices;

class AccessibleNames {
public:
    AccessibleNames();
    ~AccessibleNames();
    AccessibleNames(const AccessibleNames&) = delete;
    AccessibleNames& operator=(const AccessibleNames&) = delete;

    // False where the system offers no annotations; the control then keeps its own name.
    bool set(HWND control, const char* name);

private:
    ComApartment com_; // first in, last out: the service is released inside the apartment
    IAccPropServices* services_ = nullptr;
};
