#include "ui/dpi_scale.h"

#include <gtest/gtest.h>

TEST(DpiScale, ScalesAsMulDivAndKeepsReportedDpisInRange) {
    EXPECT_EQ(22, scale_to_dpi(17, 125)); // 22.13
    EXPECT_EQ(9, scale_to_dpi(5, 168));   // 8.75
    EXPECT_EQ(-3, scale_to_dpi(-2, 144)); // half away from zero, as MulDiv
    EXPECT_EQ(96u, sane_dpi(0));
    EXPECT_EQ(96u, sane_dpi(1)); // would shrink every control to a pixel
    EXPECT_EQ(96u, sane_dpi(95));
    EXPECT_EQ(144u, sane_dpi(144));
    EXPECT_EQ(480u, sane_dpi(100000));
}
