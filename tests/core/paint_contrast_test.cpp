// The contrast ratio of text and background, at the points the formula fixes.
#include <gtest/gtest.h>

#include "paint/contrast.h"

namespace korvel {
namespace {

constexpr TColor Rgb(int r, int g, int b) { return MakeColor(std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)); }
constexpr TColor Grey(int v) { return Rgb(v, v, v); }

// Black on white is 21:1, a colour on itself 1:1, mid grey 0x777777 on white
// just misses 4.5 (4.478) while 0x767676 reaches it (4.54); the channels weigh
// 0.2126, 0.7152 and 0.0722, and the high byte plays no part.
TEST(TextContrast, RatioFollowsTheRelativeLuminanceFormula) {
    struct Case {
        TColor a, b;
        double ratio;
        double within = 1e-9;
    };
    const Case cases[] = {
        {Rgb(0, 0, 0), Rgb(255, 255, 255), 21.0},
        {Rgb(255, 255, 255), Rgb(0, 0, 0), 21.0},
        {Rgb(0, 128, 148), Rgb(0, 128, 148), 1.0},
        // The greys every accessibility guide quotes against white.
        {Grey(0x77), Grey(0xFF), 4.478, 0.001},
        {Grey(0x76), Grey(0xFF), 4.542, 0.001},
        // Below the linear knee (10 / 255 <= 0.04045) a channel is divided by 12.92.
        {Grey(10), Rgb(0, 0, 0), (10 / 255.0 / 12.92 + 0.05) / 0.05},
        {Rgb(0, 0, 255), Rgb(255, 0, 0), (0.2126 + 0.05) / (0.0722 + 0.05)},
        {0xFF000000u | Rgb(0, 0, 0), Rgb(255, 255, 255), 21.0},
    };
    for (const Case& c : cases) EXPECT_NEAR(ContrastRatio(c.a, c.b), c.ratio, c.within) << std::hex << c.a << " " << c.b;
    EXPECT_LT(ContrastRatio(Grey(0x77), Grey(0xFF)), MinimumTextContrast);
    EXPECT_GE(ContrastRatio(Grey(0x76), Grey(0xFF)), MinimumTextContrast);
    EXPECT_NEAR(RelativeLuminance(Rgb(255, 0, 0)), 0.2126, 1e-9);
    EXPECT_NEAR(RelativeLuminance(Rgb(0, 255, 0)), 0.7152, 1e-9);
    EXPECT_NEAR(RelativeLuminance(Rgb(0, 0, 255)), 0.0722, 1e-9);
}

}  // namespace
}  // namespace korvel
