// Counter Settings values without a window: times of day and the update
// interval's two fields.
#include <gtest/gtest.h>

#include <climits>

#include "dialogs/CounterValues.h"

namespace {

using counter::TimeOfDay;

TEST(CounterValues, TimesOfDayPackAndStoredNonsenseStillShowsAsATime) {
    EXPECT_EQ(counter::PackTimeOfDay({8, 0, 0}), 80000);
    EXPECT_EQ(counter::PackTimeOfDay({23, 59, 59}), 235959);
    const struct {
        int32_t packed;
        TimeOfDay shown;
    } cases[] = {
        {80000, {8, 0, 0}},    {180000, {18, 0, 0}},    {123456, {12, 34, 56}},
        {0, {0, 0, 0}},        {-5, {0, 0, 0}},         {250000, {23, 0, 0}},
        {126100, {12, 59, 0}}, {INT_MAX, {23, 36, 47}}, {INT_MIN, {0, 0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(counter::UnpackTimeOfDay(c.packed), c.shown) << c.packed;
}

TEST(CounterValues, IntervalSplitsIntoTwoFieldsAndJoinsWithoutOverflow) {
    const struct {
        int32_t stored;
        int32_t first, second;
    } cases[] = {{30, 0, 30}, {0, 0, 0}, {90, 1, 30}, {7259, 120, 59}, {7260, 121, 0}};
    for (const auto& c : cases) {
        const counter::IntervalFields fields = counter::SplitInterval(c.stored);
        EXPECT_EQ(fields.first, c.first) << c.stored;
        EXPECT_EQ(fields.second, c.second) << c.stored;
        EXPECT_EQ(counter::JoinInterval(fields.first, fields.second), c.stored);
    }
    EXPECT_EQ(counter::JoinInterval(INT_MAX, 59), INT_MAX);
    EXPECT_EQ(counter::JoinInterval(INT_MIN, 0), INT_MIN);
}

}  // namespace
