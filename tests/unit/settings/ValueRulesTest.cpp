#include "settings/ValueRules.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include "settings/CameraSettings.h"

using namespace settings;

TEST(IntegerRule, LeadingSignedNumberNoNumberIsZeroEmptyIsTheDefault) {
    const struct {
        std::string text;
        int32_t defaultValue, expected;
    } cases[] = {{"42", 7, 42},
                 {"-1", 7, -1},
                 {"+15", 7, 15},
                 {"  \t12", 7, 12},
                 {"100.0", 7, 100},  // what "%.1f" wrote reads as its integer part
                 {"30.5", 7, 30},
                 {"12abc", 7, 12},
                 {"abc", 7, 0},
                 {"-", 7, 0},
                 {"+x", 7, 0},
                 {" ", 7, 0},
                 {".5", 7, 0},
                 {"", 7, 7},
                 {"", -1, -1},
                 // Extremes wrap to 32 bits, as the platform's conversion does.
                 {"2147483647", 0, 2147483647},
                 {"-2147483648", 0, INT32_MIN},
                 {"4294967295", 0, -1},
                 {"4294967296", 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(IntegerFromText(c.text, c.defaultValue), c.expected) << '"' << c.text << '"';
    // A long run of digits must not trip the sanitizers.
    EXPECT_NO_FATAL_FAILURE(IntegerFromText(std::string(500, '9'), 0));
}

TEST(NumberRule, LongestDecimalPrefixSaturatedEmptyIsTheDefault) {
    const struct {
        std::string text;
        float defaultValue, expected;
    } cases[] = {{"", -0.785398f, -0.785398f},
                 {"abc", -0.785398f, 0},
                 {".", 5, 0},
                 {"-", 5, 0},
                 {"e5", 5, 0},
                 {"-0.785398", 0, -0.785398f},
                 {"  240.0cm", 0, 240},
                 {"+1.5", 0, 1.5f},
                 {"-.25", 0, -0.25f},
                 {"5.", 0, 5},
                 {"1e2", 0, 100},
                 {"1E-1x", 0, 0.1f},
                 {"3e", 0, 3},  // an exponent without digits is not part of it
                 {"3e+", 0, 3},
                 {"1,5", 0, 1},  // no locale: the comma ends the number
                 {"inf", 1, 0},
                 {"nan", 1, 0},
                 {"0x10", 1, 0},  // a decimal 0 followed by letters
                 {"1e39", 0, FLT_MAX},
                 {"-1e39", 0, -FLT_MAX},
                 {"1e999", 0, FLT_MAX},
                 {"-1e999", 0, -FLT_MAX},
                 {"1e-999", 3, 0},
                 {"0." + std::string(400, '0') + "1", 3, 0},
                 {std::string(400, '9'), 0, FLT_MAX}};
    for (const auto& c : cases)
        EXPECT_EQ(NumberFromText(c.text, c.defaultValue), c.expected) << '"' << c.text << '"';
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
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float value;
        const char *oneDecimal, *sixDecimals;
    } cases[] = {{100.0f, "100.0", "100.000000"}, {30.0f, "30.0", "30.000000"},
                 {30.55f, "30.5", "30.549999"},  // the float is 30.5499...
                 {-0.04f, "-0.0", "-0.040000"},   {-0.785398f, "-0.8", "-0.785398"},
                 {0.0f, "0.0", "0.000000"},       {1.5f, "1.5", "1.500000"},
                 {nan, "0.0", "0.000000"}};  // written as what it reads back as
    for (const auto& c : cases) {
        EXPECT_EQ(FormatOneDecimal(c.value), c.oneDecimal) << c.value;
        EXPECT_EQ(FormatSixDecimals(c.value), c.sixDecimals) << c.value;
    }
}

TEST(WriteFormats, ExtremeAndInfiniteFloatsAreWrittenWholeAndReadBackSaturated) {
    const float inf = std::numeric_limits<float>::infinity();
    for (float value : {FLT_MAX, -FLT_MAX, inf, -inf}) {
        const float back = std::signbit(value) ? -FLT_MAX : FLT_MAX;
        const std::string one = FormatOneDecimal(value), six = FormatSixDecimals(value);
        EXPECT_EQ(one.substr(one.size() - 2), ".0") << one;
        EXPECT_EQ(six.substr(six.size() - 7), ".000000") << six;
        EXPECT_EQ(NumberFromText(one, 0.0f), back) << one;
        EXPECT_EQ(NumberFromText(six, 0.0f), back) << six;
    }
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
