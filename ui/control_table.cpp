#include "ui/control_table.h"

#include "base/loaded_string.h"
#include "ui/dpi_scale.h"

namespace {

RECT row_rect(const ControlRow& row, unsigned dpi) {
    return scaled_rect({row.x, row.y, row.x + row.width, row.y + row.height}, dpi);
}

} // namespace

RECT scaled_rect(const RECT& area, unsigned dpi) {
    // Edges from the scaled origin and size: every control keeps its scaled size.
    const int left = scale_to_dpi(area.left, dpi);
    const int top = scale_to_dpi(area.top, dpi);
    return {left, top, left + scale_to_dpi(area.right - area.left, dpi),
            top + scale_to_dpi(area.bottom - area.top, dpi)};
}

void ControlTable::create(HWND window, HINSTANCE instance, unsigned dpi, HFONT font) {
    for (std::size_t index = 0; index < count_; ++index) {
        const ControlRow& row = rows_[index];
        const HWND parent = row.parent_id == 0 ? window : get(row.parent_id);
        const RECT place = row_rect(row, dpi);
        const LoadedString text(row.text_id);
        const HWND control = CreateWindowExA(
            row.extended_style, row.class_name, row.text_id != 0 ? text.c_str() : nullptr,
            row.style, place.left, place.top, place.right - place.left, place.bottom - place.top,
            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
        if (row.text_limit != 0) {
            SendMessageA(control, EM_LIMITTEXT, row.text_limit, 0);
        }
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        controls_[index] = control;
    }
}

void ControlTable::lay_out(unsigned dpi, HFONT font) const {
    for (std::size_t index = 0; index < count_; ++index) {
        const RECT place = row_rect(rows_[index], dpi);
        SetWindowPos(controls_[index], nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageA(controls_[index], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
}

std::size_t ControlTable::index_of(int id) const {
    std::size_t index = 0;
    while (index < count_ && rows_[index].id != id) {
        ++index;
    }
    return index;
}

HWND ControlTable::get(int id) const {
    const std::size_t index = index_of(id);
    return index < count_ ? controls_[index] : nullptr;
}

RECT ControlTable::area(int id, unsigned dpi) const {
    const std::size_t index = index_of(id);
    return index < count_ ? row_rect(rows_[index], dpi) : RECT{};
}
