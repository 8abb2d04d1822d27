// A GDI object selected into a device context for one scope: the context gets its previous
// object back, so the selected one can then be deleted.
#pragma once

#include <windows.h>

class SelectedObject {
public:
    SelectedObject(HDC context, HGDIOBJ object)
        : context_(context), previous_(SelectObject(context, object)) {}
    ~SelectedObject() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) {
            SelectObject(context_, previous_);
        }
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC context_;
    HGDIOBJ previous_;
};
