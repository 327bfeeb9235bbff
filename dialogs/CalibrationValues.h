#pragma once
// The Calibration Test values that need no window: the coordinate labels,
// the unit a length is shown in, and how the host's answer to a region test
// is read. Platform-free.
#include <cstdint>
#include <string>

namespace calibration {

// The two unit names by index, before a language file replaces them.
constexpr const char* kBuiltInUnitNames[2] = {"cm", "inch"};
// Centimetres to inches, in single precision.
constexpr float kInchesPerCentimetre = 0.39370078f;

// Index into the unit names for a "Unit" setting: 1 is inch; any other value
// (a settings file can hold anything) is centimetres.
int UnitIndex(int32_t unit);

// The label under a picture: "(x, y)".
std::string CoordinateText(int x, int y);

// The host's answer to a region test, as the dialog shows it.
struct RegionAnswer {
    bool matched = false;
    int32_t shift = 0;     // pixels the matched region lies left of the chosen one
    float distance = 0.f;  // in the dialog's unit
};

// A match needs a disparity above FLT_EPSILON that is finite and no wider
// than the picture, and a finite distance: anything else (0, negative, NaN,
// infinite) is no match. The shift is the disparity rounded half up; the
// distance arrives in centimetres and is converted for unit inch.
RegionAnswer ReadRegionAnswer(float disparity, float distanceCm, int32_t unit);

// The result line "<label> <distance with one decimal> <unit name>".
std::string DistanceLine(const std::string& label, float distance, const std::string& unitName);

}  // namespace calibration
