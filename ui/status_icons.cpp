#include "ui/status_icons.h"

#include "res/resource.h"

namespace {

// Loaded at the size they are shown at, so the icon control keeps its size instead of
// growing to the icon's, and nothing is stretched.
HICON load_icon(HINSTANCE instance, const char* name, int size) {
    return static_cast<HICON>(
        LoadImageA(instance, name, IMAGE_ICON, size, size, instance == nullptr ? LR_SHARED : 0));
}

} // namespace

StatusIcons::StatusIcons(HINSTANCE instance, int size)
    : size_(size),
      running_(load_icon(instance, MAKEINTRESOURCEA(IDI_STATUS_RUNNING), size), DestroyIcon),
      pending_(load_icon(instance, MAKEINTRESOURCEA(IDI_STATUS_PENDING), size), DestroyIcon),
      stopped_(load_icon(instance, MAKEINTRESOURCEA(IDI_STATUS_STOPPED), size), DestroyIcon),
      warning_(load_icon(nullptr, IDI_EXCLAMATION, size)) {}

HICON StatusIcons::of(StatusIcon icon) const {
    const HICON icons[] = {warning_, stopped_.get(), pending_.get(), running_.get()};
    return icons[static_cast<int>(icon)];
}
