#include "ui/focus_memory.h"

LRESULT FocusMemory::on_activate(HWND window, WPARAM state, HWND fallback) {
    if (LOWORD(state) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window, focus)) {
            control_ = focus;
        }
        return 0;
    }
    // Minimised windows take no focus until restored.
    if (HIWORD(state) == 0) {
        SetFocus(can_take_focus(control_) && IsChild(window, control_) ? control_ : fallback);
    }
    return 0;
}

bool can_take_focus(HWND control) {
    if (control == nullptr || !IsWindowVisible(control)) {
        return false;
    }
    // Up to the top-level window itself, whose parent would be its owner.
    const HWND root = GetAncestor(control, GA_ROOT);
    for (HWND window = control;; window = GetParent(window)) {
        if (!IsWindowEnabled(window)) {
            return false;
        }
        if (window == root) {
            return true;
        }
    }
}
