#pragma once
// The Camera Angle values that need no window: lengths shown in the display
// unit and typed back, the tilt read-out, and when a new result counts as a
// changed camera angle. Platform-free.
//
// Lengths are held and stored in centimetres; only the texts the user sees
// are in the display unit (unit 1: inches, cm x 0.39370078; typed inches
// x 2.54). Two rules keep values from going wrong on their way through a
// text box:
//   - No drift: a box whose text is still exactly what the dialog put there
//     hands back the centimetre value it was made from. 250 cm shows "98.4"
//     inches; Update without retyping stores 250, not 98.4 x 2.54 = 249.9.
//   - A typed Camera Height must be a plain decimal number greater than 0
//     ("." or "," as the decimal mark, blanks around it allowed). Anything
//     else is refused with kHeightRefusedText and the dialog stays open: a
//     height of 0 would break every later floor measurement of the host.
// The Template Dimension box is read-only: it shows the stored size in the
// display unit and the stored centimetre value passes through unchanged.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace angle {

// "Unit" of the settings: 0 centimetres, 1 inches (any other value counts as 0).
constexpr int32_t kUnitCm = 0;
constexpr int32_t kUnitInch = 1;
constexpr float kInchesPerCm = 0.39370078f;
constexpr float kCmPerInch = 2.54f;

// The three stored camera angles, radians.
struct CameraAngles {
    float angleXY = 0.0f;
    float angleYZ = 0.0f;
    float angleXZ = 0.0f;
    bool operator==(const CameraAngles&) const = default;
};

// A length in the display unit (single precision, as the program shows it).
float ToDisplayUnit(float cm, int32_t unit);
// A length typed in the display unit, in centimetres.
float FromDisplayUnit(float shown, int32_t unit);
// "%.1f" of the length in the display unit.
std::string FormatLength(float cm, int32_t unit);

// The tilt the dialog shows: (Angle YZ + pi/2) x (1/pi) x 180 in double
// precision, rounded to single precision; formatted "%.1f".
float TiltDegrees(float angleYZ);
std::string FormatTilt(float angleYZ);

// A plain decimal number: optional blanks, optional sign, digits with at most
// one "." or "," and at least one digit, optional blanks; nothing else.
std::optional<double> ParseDecimal(std::string_view text);

// The Camera Height box read back. `text` is what the box holds, `shownText`
// what the dialog last put there for `currentCm`. Unchanged text gives
// currentCm exactly; otherwise the typed number converted to centimetres.
// Nothing when the height is not a number greater than 0 (or beyond float),
// typed or untouched.
std::optional<float> ReadHeight(std::string_view text, std::string_view shownText, float currentCm,
                                int32_t unit);

constexpr char kHeightRefusedText[] = "Please enter the camera height as a number greater than 0.";

// False when any angle is NaN, infinite or absurdly large: no camera can be
// mounted so, and such a value would be shown as "nan" or "inf".
bool AnglesUsable(const CameraAngles& angles);

// True when any of the three angles differs by more than 1e-6 (the absolute
// difference computed in single precision, compared in double precision).
// A NaN on either side counts as a change.
bool AnglesChanged(const CameraAngles& stored, const CameraAngles& result);
constexpr double kAngleTolerance = 1e-6;

}  // namespace angle
