#include "ui/tab_dialog.h"

#include <cstdlib>

#include "ui/focus_memory.h"
#include "ui/visual_styles.h"

TabDialog::TabDialog(HINSTANCE instance, HWND parent, const RECT* rectangle,
                     const ControlTable& controls, unsigned dpi, HFONT font)
    : WindowObject("TabDialog", nullptr, WS_CHILD, nullptr, instance), page_instance_(instance),
      controls_(controls), dpi_(dpi), font_(font) {
    extended_style_ = WS_EX_CONTROLPARENT | WS_EX_TRANSPARENT;
    parent_ = parent;
    if (rectangle != nullptr) {
        place_at(*rectangle);
    }
}

bool TabDialog::create() {
    if (!WindowObject::create()) {
        return false;
    }
    controls_.create(window_, page_instance_, dpi_, font_);
    return true;
}

void TabDialog::lay_out(const RECT& rectangle, unsigned dpi, HFONT font) {
    place_at(rectangle);
    dpi_ = dpi;
    font_ = font;
    SetWindowPos(window_, nullptr, rectangle.left, rectangle.top, width_, height_,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    controls_.lay_out(dpi, font);
    background_.reset();
}

namespace {

int lightness(COLORREF colour) {
    return (299 * GetRValue(colour) + 587 * GetGValue(colour) + 114 * GetBValue(colour)) / 1000;
}

} // namespace

COLORREF readable_on(COLORREF background) {
    // The system's text colour, unless a theme paints the page in a way the scheme does not
    // expect (a light tab with a high-contrast scheme's white text): then black or white.
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    if (std::abs(lightness(text) - lightness(background)) >= readable_difference) {
        return text;
    }
    return lightness(background) >= 128 ? RGB(0, 0, 0) : RGB(255, 255, 255);
}

bool TabDialog::activate() {
    EnableWindow(window_, TRUE);
    const bool was_visible = ShowWindow(window_, SW_SHOW) != FALSE;
    SetActiveWindow(window_);
    return was_visible;
}

bool TabDialog::deactivate() {
    const bool was_visible = ShowWindow(window_, SW_HIDE) != FALSE;
    EnableWindow(window_, FALSE);
    return was_visible;
}

void TabDialog::add_tab_stops(std::vector<HWND>& stops) const {
    // Made in reading order: the order of the page's children is the Tab key's.
    for (HWND control = GetWindow(window_, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
        if ((GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP) != 0) {
            stops.push_back(control);
        }
    }
}

HWND TabDialog::first_control() const {
    std::vector<HWND> stops;
    add_tab_stops(stops);
    for (const HWND control : stops) {
        if (can_take_focus(control)) {
            return control;
        }
    }
    return nullptr;
}

LRESULT TabDialog::control_background(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
    // A read-only or disabled edit asks too: it keeps the system's look.
    char class_name[8] = {};
    GetClassNameA(control, class_name, sizeof class_name);
    if (lstrcmpiA(class_name, "Edit") == 0) {
        return DefWindowProcA(window_, message, wparam, lparam);
    }
    const HDC context = reinterpret_cast<HDC>(wparam);
    if (!visual_styles_on()) {
        SetTextColor(context, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(context, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    SetBkMode(context, TRANSPARENT);
    const HBRUSH brush = background_.brush_for(control, parent_, context);
    SetTextColor(context, readable_on(background_.colour()));
    return reinterpret_cast<LRESULT>(brush);
}
