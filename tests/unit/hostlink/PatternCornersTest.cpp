#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "hostlink/PatternCorners.h"

using namespace hostlink;

TEST(OrderPatternCorners, SquareGoesToLowerLeftLowerRightUpperLeftUpperRight) {
    const std::vector<HostPoint> points{{10, 100}, {100, 100}, {10, 10}, {100, 10}};
    const PatternCorners c = OrderPatternCorners(points);
    EXPECT_EQ(c[kLowerLeft], (HostPoint{10, 100}));
    EXPECT_EQ(c[kLowerRight], (HostPoint{100, 100}));
    EXPECT_EQ(c[kUpperLeft], (HostPoint{10, 10}));
    EXPECT_EQ(c[kUpperRight], (HostPoint{100, 10}));
}

TEST(OrderPatternCorners, OrderOfClicksDoesNotMatter) {
    const std::vector<HostPoint> points{{100, 10}, {10, 10}, {100, 100}, {10, 100}};
    const PatternCorners c = OrderPatternCorners(points);
    EXPECT_EQ(c, (PatternCorners{{{10, 100}, {100, 100}, {10, 10}, {100, 10}}}));
}

TEST(OrderPatternCorners, PerspectiveQuadrilateral) {
    // A square seen from above at an angle: narrower at the top.
    const std::vector<HostPoint> points{{140, 60}, {180, 60}, {100, 200}, {220, 200}};
    const PatternCorners c = OrderPatternCorners(points);
    EXPECT_EQ(c, (PatternCorners{{{100, 200}, {220, 200}, {140, 60}, {180, 60}}}));
}

TEST(OrderPatternCorners, ThreePointsLeaveTheEmptyQuadrantUnset) {
    // Centre (40, 40): nothing lands upper-right.
    const std::vector<HostPoint> points{{10, 100}, {100, 100}, {10, 10}};
    const PatternCorners c = OrderPatternCorners(points);
    EXPECT_EQ(c[kLowerLeft], (HostPoint{10, 100}));
    EXPECT_EQ(c[kLowerRight], (HostPoint{100, 100}));
    EXPECT_EQ(c[kUpperLeft], (HostPoint{10, 10}));
    EXPECT_EQ(c[kUpperRight], kNoCorner);
}

TEST(OrderPatternCorners, PointsOnTheCentreRowOrColumnAreDropped) {
    // Centre (50, 50); (50, 90) lies on the centre column, (90, 50) on its row.
    const std::vector<HostPoint> points{{10, 10}, {50, 90}, {90, 50}, {90, 90}, {10, 90}, {50, 50}};
    // sum x = 300, sum y = 380 over 6 -> centre (trunc(50 + 0.5), trunc(63.3 + 0.5)) = (50, 63)
    const PatternCorners c = OrderPatternCorners(points);
    EXPECT_EQ(c[kUpperLeft], (HostPoint{10, 10}));
    EXPECT_EQ(c[kLowerLeft], (HostPoint{10, 90}));
    EXPECT_EQ(c[kLowerRight], (HostPoint{90, 90}));
    EXPECT_EQ(c[kUpperRight], (HostPoint{90, 50}));  // y 50 < 63: above, kept

    // Exactly on the centre: two symmetric points around (50, 50).
    const std::vector<HostPoint> onAxes{{50, 10}, {50, 90}, {10, 50}, {90, 50}};
    EXPECT_EQ(OrderPatternCorners(onAxes),
              (PatternCorners{{kNoCorner, kNoCorner, kNoCorner, kNoCorner}}));
}

TEST(OrderPatternCorners, LaterPointInAQuadrantReplacesTheEarlierOne) {
    // Centre (50, 50) from the symmetric set; two points upper-left.
    const std::vector<HostPoint> points{{20, 20}, {80, 80}, {10, 10}, {90, 90}, {30, 70}, {70, 30}};
    const PatternCorners c = OrderPatternCorners(points);
    EXPECT_EQ(c[kUpperLeft], (HostPoint{10, 10}));
    EXPECT_EQ(c[kLowerRight], (HostPoint{90, 90}));
    EXPECT_EQ(c[kLowerLeft], (HostPoint{30, 70}));
    EXPECT_EQ(c[kUpperRight], (HostPoint{70, 30}));
}

TEST(OrderPatternCorners, CentreRoundsHalfUp) {
    // Mean x = 55.5 rounds to 56, so x = 55 is left of the centre (dx = 1 > 0).
    const std::vector<HostPoint> points{{55, 10}, {56, 100}};
    const PatternCorners c = OrderPatternCorners(points);
    // Centre (56, 55): (55, 10) upper-left; (56, 100) on the centre column.
    EXPECT_EQ(c[kUpperLeft], (HostPoint{55, 10}));
    EXPECT_EQ(c[kLowerLeft], kNoCorner);
    EXPECT_EQ(c[kLowerRight], kNoCorner);
    EXPECT_EQ(c[kUpperRight], kNoCorner);
}

TEST(OrderPatternCorners, EmptyListLeavesEverySlotUnset) {
    EXPECT_EQ(OrderPatternCorners({}),
              (PatternCorners{{kNoCorner, kNoCorner, kNoCorner, kNoCorner}}));
}

TEST(OrderPatternCorners, SinglePointIsItsOwnCentreAndGoesNowhere) {
    const std::vector<HostPoint> points{{123, 45}};
    EXPECT_EQ(OrderPatternCorners(points),
              (PatternCorners{{kNoCorner, kNoCorner, kNoCorner, kNoCorner}}));
}

TEST(OrderPatternCorners, ExtremeCoordinatesDoNotOverflow) {
    constexpr int32_t lo = std::numeric_limits<int32_t>::min();
    constexpr int32_t hi = std::numeric_limits<int32_t>::max();
    const std::vector<HostPoint> points{{lo, hi}, {hi, hi}, {lo, lo}, {hi, lo}};
    const PatternCorners c = OrderPatternCorners(points);
    EXPECT_EQ(c[kLowerLeft], (HostPoint{lo, hi}));
    EXPECT_EQ(c[kLowerRight], (HostPoint{hi, hi}));
    EXPECT_EQ(c[kUpperLeft], (HostPoint{lo, lo}));
    EXPECT_EQ(c[kUpperRight], (HostPoint{hi, lo}));
}
