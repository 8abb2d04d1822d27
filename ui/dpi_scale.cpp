#include "ui/dpi_scale.h"

unsigned sane_dpi(unsigned reported) {
    if (reported < base_dpi) {
        return base_dpi;
    }
    return reported > max_dpi ? max_dpi : reported;
}

int scale_to_dpi(int value, unsigned dpi) {
    const long long product = static_cast<long long>(value) * dpi;
    const long long half = base_dpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / base_dpi
                                         : -((-product + half) / base_dpi));
}
