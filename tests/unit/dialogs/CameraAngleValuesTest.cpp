// The Camera Angle dialog's unit rules, read-out and "angle changed" rule.
#include <gtest/gtest.h>

#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "dialogs/CameraAngleValues.h"

using namespace angle;

TEST(CameraAngleValues, LengthsAndTiltAsShown) {
    const struct {
        std::string shown, expected;
    } cases[] = {
        {FormatLength(254.0f, kUnitCm), "254.0"},
        {FormatLength(254.0f, kUnitInch), "100.0"},
        {FormatLength(250.0f, kUnitInch), "98.4"},
        {FormatLength(254.0f, 7), "254.0"},
        {FormatTilt(0.0f), "90.0"},
        {FormatTilt(-0.785398f), "45.0"},
        {FormatTilt(-std::numbers::pi_v<float> / 2), "0.0"},  // not "-0.0"
    };
    for (const auto& c : cases) EXPECT_EQ(c.shown, c.expected);
}

TEST(CameraAngleValues, HeightReadBackWithoutDriftOrNonsense) {
    // Untouched text gives the centimetres it was made from: 250, not 98.4 x 2.54.
    EXPECT_EQ(ReadHeight("98.4", "98.4", 250.0f, kUnitInch), 250.0f);
    EXPECT_FALSE(ReadHeight("0.0", "0.0", 0.0f, kUnitCm)) << "a stored 0 is no height either";
    EXPECT_EQ(ReadHeight("100", "98.4", 250.0f, kUnitInch), 254.0f);
    EXPECT_EQ(ReadHeight(" 240,5 ", "250.0", 250.0f, kUnitCm), 240.5f);
    EXPECT_EQ(ReadHeight("+.5", "250.0", 250.0f, kUnitCm), 0.5f);
    for (const std::string& text :
         std::vector<std::string>{"", "abc", "12a", "1.2.3", "0", "0.0", "-5", "1e3", "inf", "nan",
                                  "0x10", ".", "2 5", std::string(60, '9')})
        EXPECT_FALSE(ReadHeight(text, "98.4", 250.0f, kUnitInch)) << text;
}

TEST(CameraAngleValues, AnglesChangeBeyondOneMillionthAndMustBeNumbers) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    const CameraAngles stored{0.01f, -0.5f, 0.02f};
    EXPECT_FALSE(AnglesChanged(stored, {0.01f, -0.5000005f, 0.02f}));
    EXPECT_TRUE(AnglesChanged(stored, {0.01f, -0.5f, 0.020003f}));
    EXPECT_TRUE(AnglesChanged(stored, {0.01f, kNaN, 0.02f}));
    EXPECT_TRUE(AnglesUsable(stored));
    EXPECT_FALSE(AnglesUsable({std::numeric_limits<float>::infinity(), 0, 0}));
    EXPECT_FALSE(AnglesUsable({0, 0, kNaN}));
}
