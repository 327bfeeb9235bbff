#include "dialogs/CameraAngleValues.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

namespace angle {
namespace {

std::string OneDecimal(double value) {
    char text[64];
    const int length = std::snprintf(text, sizeof text, "%.1f", value);
    if (length <= 0) return std::string();
    std::string result(text, static_cast<std::size_t>(length) < sizeof text
                                 ? static_cast<std::size_t>(length)
                                 : sizeof text - 1);
    // A value that rounds to zero from below (float(-pi/2) + pi/2) reads 0.0.
    if (result == "-0.0") result = "0.0";
    return result;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

float ToDisplayUnit(float cm, int32_t unit) {
    return unit == kUnitInch ? cm * kInchesPerCm : cm;
}

float FromDisplayUnit(float shown, int32_t unit) {
    return unit == kUnitInch ? shown * kCmPerInch : shown;
}

std::string FormatLength(float cm, int32_t unit) {
    return OneDecimal(static_cast<double>(ToDisplayUnit(cm, unit)));
}

float TiltDegrees(float angleYZ) {
    const double degrees =
        (static_cast<double>(angleYZ) + std::numbers::pi / 2) * (1 / std::numbers::pi) * 180;
    return static_cast<float>(degrees);
}

std::string FormatTilt(float angleYZ) {
    return OneDecimal(static_cast<double>(TiltDegrees(angleYZ)));
}

std::optional<double> ParseDecimal(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    std::string number;  // sign, digits and "." only: what strtod reads the same everywhere
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) number += text[pos++];
    bool digits = false;
    bool mark = false;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c >= '0' && c <= '9') {
            number += c;
            digits = true;
        } else if ((c == '.' || c == ',') && !mark) {
            number += '.';
            mark = true;
        } else {
            break;
        }
    }
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (!digits || pos != text.size()) return std::nullopt;
    return std::strtod(number.c_str(), nullptr);
}

std::optional<float> ReadHeight(std::string_view text, std::string_view shownText, float currentCm,
                                int32_t unit) {
    // Untouched, the stored height goes back as it was - unless it is no
    // height at all (a file saying 0), which is refused like a typed 0.
    if (text == shownText) {
        if (std::isfinite(currentCm) && currentCm > 0.0f) return currentCm;
        return std::nullopt;
    }
    const std::optional<double> typed = ParseDecimal(text);
    if (!typed || !(*typed > 0.0) || *typed > static_cast<double>(FLT_MAX)) return std::nullopt;
    const float cm = FromDisplayUnit(static_cast<float>(*typed), unit);
    if (!std::isfinite(cm) || !(cm > 0.0f)) return std::nullopt;
    return cm;
}

bool AnglesUsable(const CameraAngles& angles) {
    // Far beyond any turn of a camera, the tilt in degrees would no longer
    // fit a float and would read "inf".
    constexpr float kLargestAngle = 1e30f;
    const auto usable = [](float a) { return std::isfinite(a) && std::fabs(a) <= kLargestAngle; };
    return usable(angles.angleXY) && usable(angles.angleYZ) && usable(angles.angleXZ);
}

bool AnglesChanged(const CameraAngles& stored, const CameraAngles& result) {
    const auto differs = [](float a, float b) {
        const float difference = std::fabs(a - b);
        return !(static_cast<double>(difference) <= kAngleTolerance);
    };
    return differs(stored.angleXY, result.angleXY) || differs(stored.angleYZ, result.angleYZ) ||
           differs(stored.angleXZ, result.angleXZ);
}

}  // namespace angle
