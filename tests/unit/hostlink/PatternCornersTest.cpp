#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "hostlink/PatternCorners.h"

using namespace hostlink;

// Slots: lower-left, lower-right, upper-left, upper-right, by the quadrant
// around the points' centre (mean, rounded half up).
TEST(OrderPatternCorners, EachPointGoesToItsQuadrant) {
    constexpr HostPoint kNone = kNoCorner;
    constexpr int32_t lo = std::numeric_limits<int32_t>::min();
    constexpr int32_t hi = std::numeric_limits<int32_t>::max();
    const struct {
        std::string what;
        std::vector<HostPoint> points;
        PatternCorners expected;
    } cases[] = {
        {"a square",
         {{10, 100}, {100, 100}, {10, 10}, {100, 10}},
         {{{10, 100}, {100, 100}, {10, 10}, {100, 10}}}},
        {"clicked in another order",
         {{100, 10}, {10, 10}, {100, 100}, {10, 100}},
         {{{10, 100}, {100, 100}, {10, 10}, {100, 10}}}},
        {"a square in perspective, narrower at the top",
         {{140, 60}, {180, 60}, {100, 200}, {220, 200}},
         {{{100, 200}, {220, 200}, {140, 60}, {180, 60}}}},
        {"three points: centre (40, 40), nothing upper-right",
         {{10, 100}, {100, 100}, {10, 10}},
         {{{10, 100}, {100, 100}, {10, 10}, kNone}}},
        // Sums 300, 380 over 6: centre (50, 63); (50, 90) and (50, 50) lie on
        // its column and are dropped; (90, 50) is above the row and kept.
        {"points on the centre column",
         {{10, 10}, {50, 90}, {90, 50}, {90, 90}, {10, 90}, {50, 50}},
         {{{10, 90}, {90, 90}, {10, 10}, {90, 50}}}},
        {"points exactly on both axes",
         {{50, 10}, {50, 90}, {10, 50}, {90, 50}},
         {{kNone, kNone, kNone, kNone}}},
        {"a later point replaces an earlier one in its quadrant",
         {{20, 20}, {80, 80}, {10, 10}, {90, 90}, {30, 70}, {70, 30}},
         {{{30, 70}, {90, 90}, {10, 10}, {70, 30}}}},
        // Mean x 55.5 rounds to 56: x = 55 is left of the centre (56, 55), and
        // (56, 100) lies on its column.
        {"centre rounded half up", {{55, 10}, {56, 100}}, {{kNone, kNone, {55, 10}, kNone}}},
        {"no points", {}, {{kNone, kNone, kNone, kNone}}},
        {"one point, its own centre", {{123, 45}}, {{kNone, kNone, kNone, kNone}}},
        {"extreme coordinates without overflow",
         {{lo, hi}, {hi, hi}, {lo, lo}, {hi, lo}},
         {{{lo, hi}, {hi, hi}, {lo, lo}, {hi, lo}}}}};
    for (const auto& c : cases) EXPECT_EQ(OrderPatternCorners(c.points), c.expected) << c.what;
}
