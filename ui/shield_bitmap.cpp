#include "ui/shield_bitmap.h"

#include "base/owned_handle.h"
#include "base/selected_object.h"
#include "base/window_dc.h"

HBITMAP shield_bitmap(int size) {
    const auto shield = static_cast<HICON>(
        LoadImageA(nullptr, MAKEINTRESOURCEA(32518), IMAGE_ICON, size, size, LR_SHARED));
    if (shield == nullptr) {
        return nullptr; // IDI_SHIELD: none before Vista
    }
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const WindowDc screen(nullptr);
    const HBITMAP bitmap = CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const OwnedHandle<HDC> memory(CreateCompatibleDC(screen.get()), DeleteDC);
    if (bitmap == nullptr || !memory.is_open()) {
        DeleteObject(bitmap);
        return nullptr;
    }
    const SelectedObject selected(memory.get(), bitmap);
    DrawIconEx(memory.get(), 0, 0, shield, size, size, 0, nullptr, DI_NORMAL);
    return bitmap;
}
