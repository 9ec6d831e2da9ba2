#include "paint/color.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

using namespace korvel;

TEST(Color, RoundEvenBreaksTiesToEven) {
    struct Case { double in; int out; } cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {254.5, 254}, {255.5, 256},
    };
    for (auto c : cases) EXPECT_EQ(RoundEven(c.in), c.out) << c.in;
}

TEST(Color, FloorOfIsTheLibrarysFloorForEveryKindOfValue) {
    // Halves, near-integers either side, negatives, zeros of both signs, values
    // where doubles stop having fractions, and those beyond the fast conversion.
    std::mt19937_64 rng(3);
    std::vector<double> values = {0.0, -0.0, 0.5, -0.5, 1.0, -1.0, 1e-300, -1e-300, 0.49999999999999994, -2.5,
                                  4503599627370495.5, -4503599627370495.5, 9007199254740993.0, 4.6e18, -4.6e18,
                                  4.7e18, -4.7e18, 1e300, -1e300, std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity()};
    for (int i = 0; i < 20000; ++i) {
        const double whole = double(std::int64_t(rng() % 2000001) - 1000000);
        const double fraction = double(rng() % 8) / 8;
        values.push_back(whole + fraction);
        values.push_back(std::nextafter(whole + fraction, 1e9));
        values.push_back(std::nextafter(whole + fraction, -1e9));
        values.push_back(std::ldexp(double(rng() >> 11), int(rng() % 80) - 40) * (rng() % 2 ? 1 : -1));
    }
    for (double v : values) {
        const double want = std::floor(v);
        ASSERT_EQ(FloorOf(v), want) << v;
        ASSERT_EQ(std::signbit(FloorOf(v)), std::signbit(want) && v != 0) << v;   // -0.0 may come back as 0.0
    }
    EXPECT_TRUE(std::isnan(FloorOf(std::numeric_limits<double>::quiet_NaN())));
}

TEST(Color, MixColorsWeightsAAndKeepsItsHighByte) {
    EXPECT_EQ(MixColors(0x00FF8040, 0x00000000, 1.0), 0x00FF8040u);
    EXPECT_EQ(MixColors(0x00FF8040, 0x00102030, 0.0), 0x00102030u);
    // 0.5 * (255 - 0) = 127.5 -> 128 (even), 0.5 * 1 = 0.5 -> 0
    EXPECT_EQ(MixColors(0xFF0001FF, 0x00000000, 0.5), 0xFF000080u);
    EXPECT_EQ(MixColors(0x00000003, 0x00000000, 0.5), 0x00000002u);
}
