#include "ui/visual_styles.h"

#include <windows.h>

#include "base/system_function.h"

bool visual_styles_on() {
    using IsAppThemedFunction = BOOL(WINAPI*)();
    static const auto is_app_themed =
        system_function<IsAppThemedFunction>("uxtheme.dll", "IsAppThemed");
    // No theme library at all (Windows before XP's, or a stripped system): no styles either.
    return is_app_themed != nullptr && is_app_themed() != FALSE;
}

bool high_contrast_on() {
    HIGHCONTRASTA contrast = {};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}
