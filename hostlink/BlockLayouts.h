#pragma once
// Byte layouts of the three small shared-memory blocks. Read and written
// through memcpy on byte pointers: the mapped addresses carry no alignment
// promise for these records, and the host sees plain little-endian bytes.
#include <array>
#include <cstddef>
#include <cstdint>

#include "hostlink/HostMessages.h"
#include "hostlink/HostPacking.h"

namespace hostlink {

// "Varanix_Tallyscope_PatternFeature", 32 bytes written by this program:
// four int32 (x, y) pairs, (-1, -1) for a corner without a point.
enum PatternSlot : std::size_t {
    kLowerLeft = 0,   // offset 0
    kLowerRight = 1,  // offset 8
    kUpperLeft = 2,   // offset 16
    kUpperRight = 3,  // offset 24
};
using PatternCorners = std::array<HostPoint, 4>;
constexpr HostPoint kNoCorner{-1, -1};

// "Varanix_Tallyscope_CountingLine", 12 bytes written by the host: four
// signed int16 world coordinates (-1 = no point) and the in angle (radians).
struct CountingLineBlock {
    int16_t worldPt1x = -1;  // offset 0
    int16_t worldPt1y = -1;  // offset 2
    int16_t worldPt2x = -1;  // offset 4
    int16_t worldPt2y = -1;  // offset 6
    float angleIn = 0.0f;    // offset 8
};

// "Varanix_Tallyscope_CameraAngle", 12 bytes written by the host (radians).
struct CameraAngleBlock {
    float angleXY = 0.0f;  // offset 0
    float angleYZ = 0.0f;  // offset 4
    float angleXZ = 0.0f;  // offset 8
};

static_assert(kPatternFeatureBlockBytes == 4 * 2 * sizeof(int32_t));
static_assert(kCountingLineBlockBytes == 4 * sizeof(int16_t) + sizeof(float));
static_assert(kCameraAngleBlockBytes == 3 * sizeof(float));

// Each function touches exactly the block's byte count at `bytes`.
void WritePatternCorners(unsigned char* bytes, const PatternCorners& corners);
PatternCorners ReadPatternCorners(const unsigned char* bytes);

void WriteCountingLine(unsigned char* bytes, const CountingLineBlock& line);
CountingLineBlock ReadCountingLine(const unsigned char* bytes);

void WriteCameraAngle(unsigned char* bytes, const CameraAngleBlock& angle);
CameraAngleBlock ReadCameraAngle(const unsigned char* bytes);

}  // namespace hostlink
