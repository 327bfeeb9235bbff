#include "hostlink/PatternCorners.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace hostlink {

namespace {

// trunc(value) within int32; the mean of int32 values always fits, but a
// float rounding step must not turn into an out-of-range conversion.
int64_t TruncToInt64(float value) {
    if (!(value == value)) return 0;  // NaN cannot come from finite sums, kept for safety
    const double v = std::trunc(static_cast<double>(value));
    constexpr double lo = static_cast<double>(std::numeric_limits<int32_t>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<int32_t>::max());
    if (v < lo) return std::numeric_limits<int32_t>::min();
    if (v > hi) return std::numeric_limits<int32_t>::max();
    return static_cast<int64_t>(v);
}

}  // namespace

PatternCorners OrderPatternCorners(std::span<const HostPoint> points) {
    PatternCorners slots{kNoCorner, kNoCorner, kNoCorner, kNoCorner};
    if (points.empty()) return slots;

    float sumX = 0.0f;
    float sumY = 0.0f;
    for (const HostPoint& p : points) {
        sumX += static_cast<float>(p.x);
        sumY += static_cast<float>(p.y);
    }
    const float count = static_cast<float>(points.size());
    const int64_t cx = TruncToInt64(sumX / count + 0.5f);
    const int64_t cy = TruncToInt64(sumY / count + 0.5f);

    for (const HostPoint& p : points) {
        // 64-bit differences: int32 extremes must not overflow.
        const int64_t dx = cx - p.x;
        const int64_t dy = cy - p.y;
        if (dx == 0 || dy == 0) continue;  // on the centre's row or column
        std::size_t slot;
        if (dy < 0) {
            slot = dx > 0 ? kLowerLeft : kLowerRight;  // below the centre (y grows downwards)
        } else {
            slot = dx > 0 ? kUpperLeft : kUpperRight;
        }
        slots[slot] = p;
    }
    return slots;
}

}  // namespace hostlink
