#include "paint/color.h"

#include <gtest/gtest.h>

using namespace korvel;

TEST(Color, RoundEvenBreaksTiesToEven) {
    struct Case { double in; int out; } cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {254.5, 254}, {255.5, 256},
    };
    for (auto c : cases) EXPECT_EQ(RoundEven(c.in), c.out) << c.in;
}

TEST(Color, MixColorsWeightsAAndKeepsItsHighByte) {
    EXPECT_EQ(MixColors(0x00FF8040, 0x00000000, 1.0), 0x00FF8040u);
    EXPECT_EQ(MixColors(0x00FF8040, 0x00102030, 0.0), 0x00102030u);
    // 0.5 * (255 - 0) = 127.5 -> 128 (even), 0.5 * 1 = 0.5 -> 0
    EXPECT_EQ(MixColors(0xFF0001FF, 0x00000000, 0.5), 0xFF000080u);
    EXPECT_EQ(MixColors(0x00000003, 0x00000000, 0.5), 0x00000002u);
}
