#include "ui/window_font.h"

#include <utility>

#include "ui/window_dpi.h"

WindowFont::WindowFont(unsigned dpi) {
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    // The metrics come at the system's DPI: the font is scaled from there to the window's.
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        LOGFONTA font = metrics.lfMessageFont;
        font.lfHeight =
            MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(window_dpi(nullptr)));
        font_ = CreateFontIndirectA(&font);
    }
    owned_ = font_ != nullptr;
    if (!owned_) {
        font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
}

WindowFont::~WindowFont() {
    release();
}

WindowFont::WindowFont(WindowFont&& other) noexcept
    : font_(std::exchange(other.font_, nullptr)), owned_(std::exchange(other.owned_, false)) {}

WindowFont& WindowFont::operator=(WindowFont&& other) noexcept {
    if (this != &other) {
        release();
        font_ = std::exchange(other.font_, nullptr);
        owned_ = std::exchange(other.owned_, false);
    }
    return *this;
}

void WindowFont::release() {
    if (owned_) {
        DeleteObject(font_);
    }
    font_ = nullptr;
    owned_ = false;
}
