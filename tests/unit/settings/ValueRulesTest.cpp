#include "settings/ValueRules.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include "settings/CameraSettings.h"

using namespace settings;

TEST(IntegerRule, ReadsTheLeadingSignedNumber) {
    EXPECT_EQ(IntegerFromText("42", 7), 42);
    EXPECT_EQ(IntegerFromText("-1", 7), -1);
    EXPECT_EQ(IntegerFromText("+15", 7), 15);
    EXPECT_EQ(IntegerFromText("  \t12", 7), 12);
    EXPECT_EQ(IntegerFromText("100.0", 7), 100);  // what "%.1f" wrote reads as its integer part
    EXPECT_EQ(IntegerFromText("30.5", 7), 30);
    EXPECT_EQ(IntegerFromText("12abc", 7), 12);
}

TEST(IntegerRule, NoNumberReadsZeroAndEmptyReadsTheDefault) {
    EXPECT_EQ(IntegerFromText("abc", 7), 0);
    EXPECT_EQ(IntegerFromText("-", 7), 0);
    EXPECT_EQ(IntegerFromText("+x", 7), 0);
    EXPECT_EQ(IntegerFromText(" ", 7), 0);
    EXPECT_EQ(IntegerFromText(".5", 7), 0);
    EXPECT_EQ(IntegerFromText("", 7), 7);
    EXPECT_EQ(IntegerFromText("", -1), -1);
}

TEST(IntegerRule, ExtremesWrapInsteadOfOverflowing) {
    EXPECT_EQ(IntegerFromText("2147483647", 0), 2147483647);
    EXPECT_EQ(IntegerFromText("-2147483648", 0), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(IntegerFromText("4294967295", 0), -1);  // 32 bits, as the platform's conversion
    EXPECT_EQ(IntegerFromText("4294967296", 0), 0);
    // A long run of digits must not trip the sanitizers.
    EXPECT_NO_FATAL_FAILURE(IntegerFromText(std::string(500, '9'), 0));
}

TEST(NumberRule, EmptyTakesTheDefaultLettersReadZero) {
    EXPECT_EQ(NumberFromText("", -0.785398f), -0.785398f);
    EXPECT_EQ(NumberFromText("abc", -0.785398f), 0.0f);
    EXPECT_EQ(NumberFromText(".", 5.0f), 0.0f);
    EXPECT_EQ(NumberFromText("-", 5.0f), 0.0f);
    EXPECT_EQ(NumberFromText("e5", 5.0f), 0.0f);
}

TEST(NumberRule, ReadsTheLongestDecimalPrefix) {
    EXPECT_EQ(NumberFromText("-0.785398", 0.0f), -0.785398f);
    EXPECT_EQ(NumberFromText("  240.0cm", 0.0f), 240.0f);
    EXPECT_EQ(NumberFromText("+1.5", 0.0f), 1.5f);
    EXPECT_EQ(NumberFromText("-.25", 0.0f), -0.25f);
    EXPECT_EQ(NumberFromText("5.", 0.0f), 5.0f);
    EXPECT_EQ(NumberFromText("1e2", 0.0f), 100.0f);
    EXPECT_EQ(NumberFromText("1E-1x", 0.0f), 0.1f);
    EXPECT_EQ(NumberFromText("3e", 0.0f), 3.0f);  // an exponent without digits is not part of it
    EXPECT_EQ(NumberFromText("3e+", 0.0f), 3.0f);
    EXPECT_EQ(NumberFromText("1,5", 0.0f), 1.0f);  // no locale: the comma ends the number
}

TEST(NumberRule, NoInfinityOrNanFromText) {
    EXPECT_EQ(NumberFromText("inf", 1.0f), 0.0f);
    EXPECT_EQ(NumberFromText("nan", 1.0f), 0.0f);
    EXPECT_EQ(NumberFromText("0x10", 1.0f), 0.0f);  // a decimal 0 followed by letters
}

TEST(NumberRule, OutOfRangeSaturatesAndUnderflowIsZero) {
    EXPECT_EQ(NumberFromText("1e39", 0.0f), FLT_MAX);
    EXPECT_EQ(NumberFromText("-1e39", 0.0f), -FLT_MAX);
    EXPECT_EQ(NumberFromText("1e999", 0.0f), FLT_MAX);
    EXPECT_EQ(NumberFromText("-1e999", 0.0f), -FLT_MAX);
    EXPECT_EQ(NumberFromText("1e-999", 3.0f), 0.0f);
    EXPECT_EQ(NumberFromText("0." + std::string(400, '0') + "1", 3.0f), 0.0f);
    EXPECT_EQ(NumberFromText(std::string(400, '9'), 0.0f), FLT_MAX);
}

TEST(TemplateDimension, IntegerThenFloat) {
    EXPECT_EQ(TemplateDimensionFromInteger(IntegerFromText("30.5", 100)), 30.0f);
    EXPECT_EQ(TemplateDimensionFromInteger(IntegerFromText("", 100)), 100.0f);
}

TEST(WorldCoordinate, KeepsTheLow16Bits) {
    EXPECT_EQ(WorldCoordinateFromInteger(-1), 0xFFFF);
    EXPECT_EQ(WorldCoordinateFromInteger(65535), 0xFFFF);
    EXPECT_EQ(WorldCoordinateFromInteger(70000), 70000 - 65536);
    EXPECT_EQ(WorldCoordinateFromInteger(std::numeric_limits<int32_t>::min()), 0);
    EXPECT_EQ(FormatWorldCoordinate(0xFFFF), "-1");
    EXPECT_EQ(FormatWorldCoordinate(0x8000), "-32768");
    EXPECT_EQ(FormatWorldCoordinate(0x7FFF), "32767");
    EXPECT_EQ(WorldCoordinateFromInteger(IntegerFromText(FormatWorldCoordinate(0xFFFF), 0)),
              0xFFFF);
}

TEST(WriteFormats, AsTheHostReadsThem) {
    EXPECT_EQ(FormatInteger(-1), "-1");
    EXPECT_EQ(FormatInteger(std::numeric_limits<int32_t>::min()), "-2147483648");
    EXPECT_EQ(FormatOneDecimal(100.0f), "100.0");
    EXPECT_EQ(FormatOneDecimal(30.0f), "30.0");
    EXPECT_EQ(FormatOneDecimal(240.0f), "240.0");
    EXPECT_EQ(FormatOneDecimal(30.55f), "30.5");  // the float is 30.5499...
    EXPECT_EQ(FormatOneDecimal(-0.04f), "-0.0");
    EXPECT_EQ(FormatSixDecimals(-0.785398f), "-0.785398");
    EXPECT_EQ(FormatSixDecimals(0.0f), "0.000000");
    EXPECT_EQ(FormatSixDecimals(1.5f), "1.500000");
}

TEST(WriteFormats, ExtremeFloatsAreWrittenWholeAndReadBack) {
    const std::string big = FormatOneDecimal(FLT_MAX);
    EXPECT_EQ(big.substr(big.size() - 2), ".0");
    EXPECT_EQ(NumberFromText(big, 0.0f), FLT_MAX);
    const std::string small = FormatSixDecimals(-FLT_MAX);
    EXPECT_EQ(small.substr(small.size() - 7), ".000000");
    EXPECT_EQ(NumberFromText(small, 0.0f), -FLT_MAX);
}

TEST(WriteFormats, NonFiniteValuesAreWrittenAsWhatTheyReadBackAs) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(FormatSixDecimals(nan), "0.000000");
    EXPECT_EQ(FormatOneDecimal(nan), "0.0");
    EXPECT_EQ(NumberFromText(FormatSixDecimals(inf), 0.0f), FLT_MAX);
    EXPECT_EQ(NumberFromText(FormatOneDecimal(-inf), 0.0f), -FLT_MAX);
}

TEST(TextRule, OneLineOfAtMost259Characters) {
    EXPECT_EQ(TextForFile("Main Entrance"), "Main Entrance");
    EXPECT_EQ(TextForFile("North\r\n[Common]\r\nVarTh=5"), "North");
    EXPECT_EQ(TextForFile("a\nb"), "a");
    EXPECT_EQ(TextForFile("\rb"), "");
    EXPECT_EQ(TextForFile(std::string(300, 'x')).size(), kMaxSettingsText);
    EXPECT_EQ(CutSettingsText(std::string(259, 'y')), std::string(259, 'y'));
    EXPECT_EQ(CutSettingsText(std::string(260, 'y')), std::string(259, 'y'));
    EXPECT_EQ(CutSettingsText(std::string("ab\0cd", 5)), "ab");
}
