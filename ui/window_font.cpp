#include "ui/window_font.h"

#include "ui/window_dpi.h"

WindowFont::WindowFont(unsigned dpi) {
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    // The metrics come at the system's DPI: the font is scaled from there to the window's.
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        LOGFONTA font = metrics.lfMessageFont;
        font.lfHeight =
            MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(window_dpi(nullptr)));
        font_.reset(CreateFontIndirectA(&font));
    }
}

HFONT WindowFont::get() const {
    // The stock font is the system's: never deleted.
    return font_.is_open() ? font_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}
