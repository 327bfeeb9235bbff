#include "settings/ValueRules.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "settings/CameraSettings.h"

namespace settings {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t SkipBlanks(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    return pos;
}

std::size_t SkipDigits(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    return pos;
}

// Formats one value with a printf format; long enough for any float in
// fixed notation (39 integer digits, sign, point and six decimals).
template <typename T>
std::string Format(const char* format, T value) {
    char buffer[80];
    const int length = std::snprintf(buffer, sizeof buffer, format, value);
    if (length < 0) return std::string();
    const std::size_t used = static_cast<std::size_t>(length) < sizeof buffer
                                 ? static_cast<std::size_t>(length)
                                 : sizeof buffer - 1;
    return std::string(buffer, used);
}

// Values that cannot be written as a number are written as what reading
// them back would give: NaN as 0, infinities as the largest float.
double Writable(float value) {
    if (std::isnan(value)) return 0.0;
    if (std::isinf(value))
        return value > 0 ? static_cast<double>(FLT_MAX) : -static_cast<double>(FLT_MAX);
    return static_cast<double>(value);
}

float NarrowToFloat(double value) {
    if (std::isnan(value)) return 0.0f;
    if (value > static_cast<double>(FLT_MAX)) return FLT_MAX;
    if (value < -static_cast<double>(FLT_MAX)) return -FLT_MAX;
    return static_cast<float>(value);
}

}  // namespace

int32_t IntegerFromText(std::string_view text, int32_t defaultValue) {
    if (text.empty()) return defaultValue;
    std::size_t pos = SkipBlanks(text, 0);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    uint32_t magnitude = 0;  // unsigned: wraps like the platform's conversion, no overflow
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
        magnitude = magnitude * 10u + static_cast<uint32_t>(text[pos] - '0');
    }
    const uint32_t bits = negative ? 0u - magnitude : magnitude;
    return static_cast<int32_t>(bits);
}

float NumberFromText(std::string_view text, float defaultValue) {
    if (text.empty()) return defaultValue;
    const std::size_t begin = SkipBlanks(text, 0);
    std::size_t pos = begin;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    const std::size_t integerEnd = SkipDigits(text, pos);
    bool anyDigit = integerEnd > pos;
    pos = integerEnd;
    if (pos < text.size() && text[pos] == '.') {
        const std::size_t fractionEnd = SkipDigits(text, pos + 1);
        anyDigit = anyDigit || fractionEnd > pos + 1;
        pos = fractionEnd;
    }
    if (!anyDigit) return 0.0f;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t exponent = pos + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        const std::size_t exponentEnd = SkipDigits(text, exponent);
        if (exponentEnd > exponent) pos = exponentEnd;  // "1e" keeps only the 1
    }
    // from_chars takes no leading '+'; it is locale-free, unlike strtod.
    std::size_t first = begin;
    if (text[first] == '+') ++first;
    const char* numberBegin = text.data() + first;
    const char* numberEnd = text.data() + pos;
    double value = 0.0;
    const auto result = std::from_chars(numberBegin, numberEnd, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Beyond a double: strtod tells overflow (infinity) from underflow (0).
        const std::string number(numberBegin, numberEnd);
        return NarrowToFloat(std::strtod(number.c_str(), nullptr));
    }
    if (result.ec != std::errc()) return 0.0f;
    return NarrowToFloat(value);
}

float TemplateDimensionFromInteger(int32_t value) {
    return static_cast<float>(value);
}

uint16_t WorldCoordinateFromInteger(int32_t value) {
    return static_cast<uint16_t>(static_cast<uint32_t>(value) & 0xFFFFu);
}

std::string FormatInteger(int32_t value) {
    return Format("%d", static_cast<int>(value));
}

std::string FormatWorldCoordinate(uint16_t value) {
    return Format("%d", static_cast<int>(static_cast<int16_t>(value)));
}

std::string FormatOneDecimal(float value) {
    return Format("%.1f", Writable(value));
}

std::string FormatSixDecimals(float value) {
    // The angle format is built from its precision, as the host's own files are.
    constexpr int kAngleDecimals = 6;
    char format[16];
    std::snprintf(format, sizeof format, "%%.%df", kAngleDecimals);
    return Format(format, Writable(value));
}

std::string TextForFile(std::string_view text) {
    const std::size_t lineBreak = text.find_first_of("\r\n");
    if (lineBreak != std::string_view::npos) text = text.substr(0, lineBreak);
    return CutSettingsText(text);
}

std::string CutSettingsText(std::string_view text) {
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);
    return std::string(text.substr(0, kMaxSettingsText));
}

}  // namespace settings
