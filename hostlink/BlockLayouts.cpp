#include "hostlink/BlockLayouts.h"

#include <bit>
#include <cstring>

namespace hostlink {

static_assert(std::endian::native == std::endian::little,
              "the blocks are little-endian and copied byte for byte");

namespace {

template <typename T>
void Put(unsigned char* bytes, std::size_t offset, T value) {
    std::memcpy(bytes + offset, &value, sizeof value);
}

template <typename T>
T Get(const unsigned char* bytes, std::size_t offset) {
    T value;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

}  // namespace

void WritePatternCorners(unsigned char* bytes, const PatternCorners& corners) {
    for (std::size_t i = 0; i < corners.size(); ++i) {
        Put<int32_t>(bytes, i * 8, corners[i].x);
        Put<int32_t>(bytes, i * 8 + 4, corners[i].y);
    }
}

PatternCorners ReadPatternCorners(const unsigned char* bytes) {
    PatternCorners corners;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        corners[i] = {Get<int32_t>(bytes, i * 8), Get<int32_t>(bytes, i * 8 + 4)};
    }
    return corners;
}

void WriteCountingLine(unsigned char* bytes, const CountingLineBlock& line) {
    Put<int16_t>(bytes, 0, line.worldPt1x);
    Put<int16_t>(bytes, 2, line.worldPt1y);
    Put<int16_t>(bytes, 4, line.worldPt2x);
    Put<int16_t>(bytes, 6, line.worldPt2y);
    Put<float>(bytes, 8, line.angleIn);
}

CountingLineBlock ReadCountingLine(const unsigned char* bytes) {
    return {Get<int16_t>(bytes, 0), Get<int16_t>(bytes, 2), Get<int16_t>(bytes, 4),
            Get<int16_t>(bytes, 6), Get<float>(bytes, 8)};
}

void WriteCameraAngle(unsigned char* bytes, const CameraAngleBlock& angle) {
    Put<float>(bytes, 0, angle.angleXY);
    Put<float>(bytes, 4, angle.angleYZ);
    Put<float>(bytes, 8, angle.angleXZ);
}

CameraAngleBlock ReadCameraAngle(const unsigned char* bytes) {
    return {Get<float>(bytes, 0), Get<float>(bytes, 4), Get<float>(bytes, 8)};
}

}  // namespace hostlink
