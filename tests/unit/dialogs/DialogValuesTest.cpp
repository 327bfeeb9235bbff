#include <gtest/gtest.h>

#include <cfloat>
#include <limits>
#include <string>

#include "dialogs/CalibrationValues.h"
#include "dialogs/GeneralValues.h"

using namespace calibration;

TEST(DialogValues, RegionAnswerIsAMatchOnlyWithAUsableDisparityAndDistance) {
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    constexpr float inf = std::numeric_limits<float>::infinity();
    const struct {
        float disparity, distance;
        int unit;
        const char* line;  // nullptr: no match
        int shift;
    } cases[] = {{2.4f, 254.f, 0, "D 254.0 cm", 2}, {2.5f, 254.f, 1, "D 100.0 inch", 3},
                 {320.f, 1.f, 7, "D 1.0 cm", 320},  {FLT_EPSILON, 1.f, 0, nullptr, 0},
                 {320.5f, 1.f, 0, nullptr, 0},      {inf, 1.f, 0, nullptr, 0},
                 {-inf, 1.f, 0, nullptr, 0},        {nan, 1.f, 0, nullptr, 0},
                 {10.f, nan, 0, nullptr, 0},        {10.f, -inf, 1, nullptr, 0}};
    for (const auto& c : cases) {
        const RegionAnswer answer = ReadRegionAnswer(c.disparity, c.distance, c.unit);
        ASSERT_EQ(answer.matched, c.line != nullptr) << c.disparity << " " << c.distance;
        if (!c.line) continue;
        EXPECT_EQ(answer.shift, c.shift);
        EXPECT_EQ(DistanceLine("D", answer.distance, kBuiltInUnitNames[UnitIndex(c.unit)]), c.line);
    }
}

TEST(DialogValues, TypedRecyclePeriodIsWholeDaysFromOneToTenYears) {
    const std::pair<const char*, int> cases[] = {
        {" 45 ", 45}, {"1", 1},  {"3650", 3650}, {"  ", 0},  {"0", 0},
        {"-5", 0},    {"+5", 0}, {"12abc", 0},   {"4 5", 0}, {"3651", 0}};
    for (const auto& [text, days] : cases)
        EXPECT_EQ(general::ParseRecycleDays(text).value_or(0), days) << '"' << text << '"';
}
