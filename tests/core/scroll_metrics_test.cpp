#include "paint/scroll_metrics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <climits>
#include <cmath>

using namespace korvel;

namespace {

// The rules written out once more, rounding through the floating-point unit's
// own to-nearest-even mode.
int Nearest(double v) {
    std::fesetround(FE_TONEAREST);
    return static_cast<int>(std::nearbyint(v));
}
int ButtonOf(int along, int arrow) { return std::min(arrow, along / 2); }
int ThumbOf(int along, int arrow, int min, int max, int page) {
    if (page == 0) return 14;
    const int s = ButtonOf(along, arrow);
    return Nearest(std::max((along - 2.0 * s) / (max + page - min) * page, 14.0));
}

}  // namespace

TEST(ScrollMetrics, RoundHalfEvenBreaksTiesToEvenAndSaturates) {
    struct Case { double in; int out; } cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {2.4999, 2}, {2.5001, 3},
        {1e12, INT_MAX}, {-1e12, INT_MIN}, {NAN, 0},
    };
    for (auto c : cases) EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
}

TEST(ScrollMetrics, ButtonsTakeTheArrowSizeButAtMostHalfTheBar) {
    struct Case { int along, arrow; } cases[] = {{121, 17}, {30, 17}, {33, 17}, {1, 17}, {0, 17}, {200, 0}};
    for (auto c : cases) {
        TScrollGeometry g{c.along, c.arrow};
        EXPECT_EQ(ScrollButtonLength(g), std::min(c.arrow, c.along / 2)) << c.along << " " << c.arrow;
    }
}

TEST(ScrollMetrics, ThumbLengthIsFourteenWithoutPageElseThePageShareOfTheTrack) {
    // Page size 0: always 14, whatever the bar and range.
    for (int along : {20, 121, 400})
        for (int max : {0, 10, 1000}) EXPECT_EQ(ScrollThumbLength({along, 17, 0, max, 5, 0}), 14) << along << max;
    struct Case { int along, arrow, min, max, page; } cases[] = {
        {121, 17, 0, 100, 10},  {121, 17, 0, 100, 50}, {400, 17, 0, 100, 100}, {400, 16, -50, 50, 25},
        {300, 17, 10, 20, 3},   {60, 17, 0, 100, 90},  {1000, 17, 0, 9, 1},     {257, 13, 0, 255, 64},
        {120, 16, 0, 10, 10},   // (120 - 32) / 20 * 10 = 44: an exact value
        {50, 17, 0, 3, 1},      // (50 - 34) / 4 = 4 -> 14
    };
    for (auto c : cases) {
        TScrollGeometry g{c.along, c.arrow, c.min, c.max, 0, c.page};
        EXPECT_EQ(ScrollThumbLength(g), ThumbOf(c.along, c.arrow, c.min, c.max, c.page))
            << c.along << " " << c.min << ".." << c.max << " page " << c.page;
    }
    // A half pixel goes to the even neighbour: (100 - 0) / 8 * 1 = 12.5 would round to 12, but
    // the minimum holds; (234 - 0) / 4 * 1 = 58.5 -> 58.
    EXPECT_EQ(ScrollThumbLength({234, 0, 0, 3, 0, 1}), 58);
    // A page that cancels a reversed range shares nothing out (no division by zero).
    EXPECT_EQ(ScrollThumbLength({121, 17, 10, 5, 0, 5}), 14);
}

TEST(ScrollMetrics, ThumbCentreFollowsThePositionAcrossManySizesAndRanges) {
    int checked = 0;
    for (int along : {40, 64, 121, 200, 333})
        for (int arrow : {13, 17})
            for (auto [min, max] : {std::pair{0, 100}, std::pair{-20, 20}, std::pair{5, 6}, std::pair{0, 7}})
                for (int page : {0, 3})
                    for (int pos = min; pos <= max; pos += std::max(1, (max - min) / 7)) {
                        TScrollGeometry g{along, arrow, min, max, pos, page};
                        const int s = ButtonOf(along, arrow);
                        const int t = ThumbOf(along, arrow, min, max, page);
                        const int want = s + t / 2 + Nearest((along - 2.0 * s - t) / (max - min) * (pos - min));
                        EXPECT_EQ(ScrollThumbCentre(g), want) << along << " " << min << ".." << max << " @" << pos;
                        ++checked;
                    }
    EXPECT_GT(checked, 300);
    // At Min the thumb touches the first button, at Max the second.
    TScrollGeometry g{121, 17, 0, 100, 0, 0};
    EXPECT_EQ(ScrollThumbCentre(g) - 7, 17);
    g.Position = 100;
    EXPECT_EQ(ScrollThumbCentre(g) + 7, 121 - 17);
}

TEST(ScrollMetrics, DisabledBarCentresItsThumbAndAnEmptyRangePutsItAtZero) {
    for (int along : {41, 120, 121}) {
        EXPECT_EQ(ScrollThumbCentre({along, 17, 0, 100, 80, 0, false}), along / 2);
        EXPECT_EQ(ScrollThumbCentre({along, 17, 30, 30, 30, 0, true}), 0);
        EXPECT_EQ(ScrollPointToPosition({along, 17, 0, 100, 80, 0, false}, along - 20), 0);
    }
}

TEST(ScrollMetrics, PointToPositionIsTheInverseScaleWithoutMin) {
    for (int along : {60, 121, 250})
        for (auto [min, max] : {std::pair{0, 100}, std::pair{-30, 10}, std::pair{100, 103}})
            for (int page : {0, 7})
                for (int p = -5; p <= along + 5; p += 3) {
                    TScrollGeometry g{along, 17, min, max, min, page};
                    const int s = ButtonOf(along, 17);
                    const int t = ThumbOf(along, 17, min, max, page);
                    const int want = Nearest((p - s - t / 2.0) * (max - min) / (along - 2.0 * s - t));
                    EXPECT_EQ(ScrollPointToPosition(g, p), want) << along << " " << min << ".." << max << " p" << p;
                }
    // A point on the thumb's centre at a position maps back to that position minus Min.
    TScrollGeometry g{221, 17, 0, 50, 20, 0};
    EXPECT_EQ(ScrollPointToPosition(g, ScrollThumbCentre(g)), 20);
}

TEST(ScrollMetrics, BarTooShortForItsThumbNeverDividesByZero) {
    // Track = along - 2s - 14 is 0 or negative: every point stands for 0.
    for (int along : {0, 1, 20, 34, 48}) {
        TScrollGeometry g{along, 17, 0, 100, 50, 0};
        for (int p : {0, along / 2, along}) EXPECT_EQ(ScrollPointToPosition(g, p), 0) << along << " p" << p;
        const int s = ButtonOf(along, 17);
        EXPECT_LT(along - 2 * s, 14 + 1) << along;
    }
    // The extreme range does not overflow.
    TScrollGeometry wide{400, 17, INT_MIN, INT_MAX, 0, 0};
    EXPECT_EQ(ScrollPointToPosition(wide, 400), INT_MAX);
    EXPECT_EQ(ScrollThumbCentre(wide), 17 + 7 + Nearest((400.0 - 34 - 14) / (2.0 * INT_MAX + 1) * (0.0 - INT_MIN)));
}

TEST(ScrollMetrics, ClampKeepsInsideTheRangeAndTheMinimumWinsWhenReversed) {
    struct Case { int p, min, max, out; } cases[] = {
        {50, 0, 100, 50}, {-1, 0, 100, 0}, {101, 0, 100, 100}, {7, 10, 5, 10}, {3, 10, 5, 10}, {0, 0, 0, 0},
    };
    for (auto c : cases) EXPECT_EQ(ClampScrollPosition(c.p, c.min, c.max), c.out) << c.p << " " << c.min << ".." << c.max;
}

TEST(ScrollMetrics, MaskFramesOfOwnPicturesAndOfMasterRectangles) {
    struct Case { bool own; int w, h, count, type; TMaskFrameSize out; } cases[] = {
        {true, 48, 17, 1, 0, {16, 8}},    // own picture: width / 3, height div 2
        {false, 48, 17, 3, 0, {16, 17}},  // master rectangle: width / count, height / (type + 1)
        {false, 48, 34, 3, 1, {16, 17}},
        {false, 40, 20, 0, 1, {0, 10}},   // no images: nothing wide
    };
    for (auto c : cases) {
        const TMaskFrameSize f = MaskFrameSize(c.own, c.w, c.h, c.count, c.type);
        EXPECT_EQ(f.Width, c.out.Width);
        EXPECT_EQ(f.Height, c.out.Height);
    }
}

TEST(ScrollMetrics, PartStatesLightOnePartAndCalmTheOthers) {
    TScrollPartStates s;
    // Pressing the thumb: buttons normal, both track halves hot.
    EXPECT_TRUE(s.Set(spThumb, 2));
    EXPECT_EQ(s.State(spThumb), 2);
    EXPECT_EQ(s.State(spFirstButton), 0);
    EXPECT_EQ(s.State(spSecondButton), 0);
    EXPECT_EQ(s.State(spFirstTrack), 1);
    EXPECT_EQ(s.State(spSecondTrack), 1);
    // The same state again changes nothing.
    EXPECT_FALSE(s.Set(spThumb, 2));
    // A hot button puts the thumb back to normal; the other halves stay hot.
    EXPECT_TRUE(s.Set(spFirstButton, 1));
    EXPECT_EQ(s.State(spThumb), 0);
    EXPECT_EQ(s.State(spFirstTrack), 1);
    // A pressed track half keeps its own state; the other half is hot.
    EXPECT_TRUE(s.Set(spSecondTrack, 2));
    EXPECT_EQ(s.State(spSecondTrack), 2);
    EXPECT_EQ(s.State(spFirstTrack), 1);
    EXPECT_EQ(s.State(spFirstButton), 0);
    // Normal touches only the part itself.
    EXPECT_TRUE(s.Set(spSecondTrack, 0));
    EXPECT_EQ(s.State(spFirstTrack), 1);
    EXPECT_EQ(s.State(spSecondTrack), 0);
}
