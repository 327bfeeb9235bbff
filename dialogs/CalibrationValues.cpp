#include "dialogs/CalibrationValues.h"

#include <cfloat>
#include <cmath>
#include <cstdio>

#include "hostlink/HostMessages.h"

namespace calibration {

int UnitIndex(int32_t unit) {
    return unit == 1 ? 1 : 0;
}

std::string CoordinateText(int x, int y) {
    char text[32];
    std::snprintf(text, sizeof text, "(%d, %d)", x, y);
    return text;
}

RegionAnswer ReadRegionAnswer(float disparity, float distanceCm, int32_t unit) {
    RegionAnswer answer;
    // A NaN fails every comparison, so it is no match either.
    const bool usableDisparity =
        disparity > FLT_EPSILON && disparity <= static_cast<float>(hostlink::kRectifiedWidth);
    if (!usableDisparity || !std::isfinite(distanceCm)) return answer;
    answer.matched = true;
    answer.shift = static_cast<int32_t>(std::trunc(static_cast<double>(disparity) + 0.5));
    answer.distance = UnitIndex(unit) == 1 ? distanceCm * kInchesPerCentimetre : distanceCm;
    return answer;
}

std::string DistanceLine(const std::string& label, float distance, const std::string& unitName) {
    char number[64];
    std::snprintf(number, sizeof number, "%.1f", static_cast<double>(distance));
    return label + " " + number + " " + unitName;
}

}  // namespace calibration
