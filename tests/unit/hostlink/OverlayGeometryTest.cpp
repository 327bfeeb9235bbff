#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "hostlink/OverlayGeometry.h"

using namespace hostlink;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

void ExpectNear(PointF actual, PointF expected, float tolerance = 1e-3f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
}

}  // namespace

// The band is 3 pixels either side of the line, its first pair on the left
// of the drawing direction, each corner rounded half up.
TEST(OverlayGeometry, BandAndMidpoint) {
    const struct {
        HostPoint p1, p2;
        BandCorners band;
        PointF mid;
    } cases[] = {
        {{100, 100}, {200, 100}, {{{100, 103}, {200, 103}, {100, 97}, {200, 97}}}, {150, 100}},
        {{100, 100}, {100, 200}, {{{97, 100}, {97, 200}, {103, 100}, {103, 200}}}, {100, 150}},
        {{200, 100}, {100, 100}, {{{200, 97}, {100, 97}, {200, 103}, {100, 103}}}, {150, 100}},
        // Line 30x - 40y + 500 = 0 in the 3-4-5 direction: the offsets
        // perpendicular to (4, 3) of length 3 are +-(1.8, -2.4), giving
        // (8.2, 22.4), (48.2, 52.4), (11.8, 17.6) and (51.8, 47.6).
        {{10, 20}, {50, 50}, {{{8, 22}, {48, 52}, {12, 18}, {52, 48}}}, {30, 35}}};
    for (const auto& c : cases) {
        const CountingLineOverlay o = ComputeCountingLineOverlay(c.p1, c.p2, 0.0f, 32, 16);
        ASSERT_TRUE(o.hasLine);
        EXPECT_EQ(o.band, c.band) << c.p1.x << "," << c.p1.y << " " << c.p2.x << "," << c.p2.y;
        EXPECT_EQ(o.mid.x, c.mid.x);
        EXPECT_EQ(o.mid.y, c.mid.y);
    }
}

TEST(OverlayGeometry, NoLineBeforeTheFirstMessageOrForCoincidentPoints) {
    const CountingLineOverlay none = ComputeCountingLineOverlay({0, 0}, {0, 0}, 0.5f, 32, 16);
    EXPECT_FALSE(none.hasLine);
    EXPECT_FALSE(none.hasArrows);
    const CountingLineOverlay same = ComputeCountingLineOverlay({120, 80}, {120, 80}, 0.5f, 32, 16);
    EXPECT_FALSE(same.hasLine);
    EXPECT_FALSE(same.hasArrows);
    // A default overlay (view start-up) also says "no line".
    EXPECT_FALSE(CountingLineOverlay{}.hasLine);
}

TEST(OverlayGeometry, DistinctPointsThatCoincideInSinglePrecisionGiveNoLine) {
    // 2^24 and 2^24 + 1 are the same float: the line has no length to divide by.
    const CountingLineOverlay o =
        ComputeCountingLineOverlay({16777216, 5}, {16777217, 5}, 0.0f, 32, 16);
    EXPECT_FALSE(o.hasLine);
}

TEST(OverlayGeometry, ArrowPositions) {
    const struct {
        float theta;
        int32_t width, height;
        HostPoint in, out;
    } cases[] = {// cos 0.8, sin 0.6; 32 x 16: R = 20.5, hw = 16, hh = 8:
                 // A = (trunc(150 - 16 + 16.4), trunc(100 - 8 + 12.3)),
                 // B = (trunc(150 - 16 - 16.4), trunc(100 - 8 - 12.3)).
                 {std::atan2(3.0f, 4.0f), 32, 16, {150, 104}, {117, 79}},
                 // 31 x 15: integer halves hw = 15, hh = 7, R = 20.
                 {0.0f, 31, 15, {155, 93}, {115, 93}}};
    for (const auto& c : cases) {
        const CountingLineOverlay o =
            ComputeCountingLineOverlay({100, 100}, {200, 100}, c.theta, c.width, c.height);
        ASSERT_TRUE(o.hasArrows);
        EXPECT_EQ(o.inArrow, c.in) << c.width;
        EXPECT_EQ(o.outArrow, c.out) << c.width;
    }
}

TEST(OverlayGeometry, ArrowPositionsTruncateTowardsZero) {
    // M = (5, 0), θ = π: A.x = 5 - 16 - 20.5 = -31.5 -> -31 (not -32).
    const CountingLineOverlay o = ComputeCountingLineOverlay({0, 0}, {10, 0}, kPi, 32, 16);
    ASSERT_TRUE(o.hasArrows);
    EXPECT_EQ(o.inArrow.x, -31);
    EXPECT_EQ(o.inArrow.y, -8);
    EXPECT_EQ(o.outArrow.x, 9);  // 5 - 16 + 20.5 = 9.5
}

TEST(OverlayGeometry, TransformsRotateAboutTheArrowCentres) {
    const float theta = 0.7f;
    const int32_t w = 32;
    const CountingLineOverlay o = ComputeCountingLineOverlay({40, 60}, {220, 180}, theta, w, 16);
    ASSERT_TRUE(o.hasArrows);
    const float r = w * 0.5f + 4.5f;
    const float c = std::cos(theta);
    const float s = std::sin(theta);
    const PointF inCentre{o.mid.x + r * c, o.mid.y + r * s};
    const PointF outCentre{o.mid.x - r * c, o.mid.y - r * s};

    // Each centre stays where it is.
    ExpectNear(o.t1.Apply(inCentre), inCentre);
    ExpectNear(o.t2.Apply(inCentre), inCentre);
    ExpectNear(o.t3.Apply(outCentre), outCentre);
    ExpectNear(o.t4.Apply(outCentre), outCentre);

    // A unit step to the right turns by θ (in arrow) or θ + 180° (reversed).
    ExpectNear(o.t1.Apply({inCentre.x + 1, inCentre.y}), {inCentre.x + c, inCentre.y + s});
    ExpectNear(o.t2.Apply({inCentre.x + 1, inCentre.y}), {inCentre.x - c, inCentre.y - s});
    ExpectNear(o.t3.Apply({outCentre.x + 1, outCentre.y}), {outCentre.x - c, outCentre.y - s});
    ExpectNear(o.t4.Apply({outCentre.x + 1, outCentre.y}), {outCentre.x + c, outCentre.y + s});
    // ... and a step down turns the same way (clockwise on screen for θ > 0).
    ExpectNear(o.t1.Apply({inCentre.x, inCentre.y + 1}), {inCentre.x - s, inCentre.y + c});
}

TEST(OverlayGeometry, NonFiniteAngleKeepsTheBandButDropsTheArrows) {
    for (float theta : {std::numeric_limits<float>::quiet_NaN(),
                        std::numeric_limits<float>::infinity(), 3.0e38f}) {
        const CountingLineOverlay o =
            ComputeCountingLineOverlay({100, 100}, {200, 100}, theta, 32, 16);
        EXPECT_TRUE(o.hasLine);
        EXPECT_EQ(o.band[0], (HostPoint{100, 103}));
        EXPECT_FALSE(o.hasArrows) << theta;
    }
}

TEST(OverlayGeometry, ExtremeCoordinatesStayDefined) {
    constexpr int32_t lo = std::numeric_limits<int32_t>::min();
    constexpr int32_t hi = std::numeric_limits<int32_t>::max();
    const CountingLineOverlay o = ComputeCountingLineOverlay({lo, lo}, {hi, hi}, 1.0f, hi, hi);
    // Corners beyond the int32 range are clamped, not converted undefinedly (UBSan).
    ASSERT_TRUE(o.hasLine);
    EXPECT_EQ(o.band[1], (HostPoint{hi, hi}));
    const CountingLineOverlay small =
        ComputeCountingLineOverlay({0, 0}, {65535, 65535}, 2.0f, -40, -40);
    EXPECT_TRUE(small.hasLine);
    EXPECT_TRUE(small.hasArrows);
}
