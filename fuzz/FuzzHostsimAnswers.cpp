// The stand-in host's answers to whatever a program might send: calibration
// file bytes, pattern corners, counting-line points with any stored angles and
// height, and any region of a picture. None may crash or read out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "tools/hostsim/CalibrationFile.h"
#include "tools/hostsim/CameraGeometry.h"
#include "tools/hostsim/CornerRefiner.h"
#include "tools/hostsim/RegionMatcher.h"
#include "tools/hostsim/StereoRenderer.h"

using namespace hostsim;

namespace {

template <typename T>
T Take(const std::uint8_t*& data, std::size_t& size) {
    T value{};
    const std::size_t n = size < sizeof(T) ? size : sizeof(T);
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A calibration file of any length.
    const CalibrationRead read = DecodeCalibration(data, size);
    const CameraModel model = read.model ? *read.model : CameraModel{};

    // Pattern corners as the block holds them (int32 pairs).
    TemplateCorners corners;
    for (auto& c : corners) {
        c.x = Take<std::int32_t>(data, size);
        c.y = Take<std::int32_t>(data, size);
    }
    // A fixed textured pair, made once: the input steers the corners and the
    // region, which is where the arithmetic can go wrong.
    static const auto pair = [] {
        std::pair<std::vector<unsigned char>, std::vector<unsigned char>> made{
            std::vector<unsigned char>(kPictureBytes), std::vector<unsigned char>(kPictureBytes)};
        for (std::size_t i = 0; i < kPictureBytes; ++i) {
            made.first[i] = static_cast<unsigned char>(i * 7 + (i >> 8) * 13);
            made.second[i] = static_cast<unsigned char>(made.first[i] ^ (i >> 9));
        }
        return made;
    }();
    const std::vector<unsigned char>& picture = pair.first;
    const std::vector<unsigned char>& right = pair.second;
    (void)AnglesFromCorners(model, RefineCorners(picture.data(), corners));

    // A counting line with 16-bit points and whatever the settings file says.
    CameraAngles angles;
    angles.angleXY = Take<float>(data, size);
    angles.angleYZ = Take<float>(data, size);
    angles.angleXZ = Take<float>(data, size);
    const double height = Take<float>(data, size);
    const int x1 = Take<std::uint16_t>(data, size), y1 = Take<std::uint16_t>(data, size);
    const int x2 = Take<std::uint16_t>(data, size), y2 = Take<std::uint16_t>(data, size);
    (void)FloorLineOf(model, angles, height, x1, y1, x2, y2);

    // A region of 16-bit sides, kept small enough to stay quick.
    const int left = Take<std::uint16_t>(data, size) % 400;
    const int top = Take<std::uint16_t>(data, size) % 300;
    const int width = Take<std::uint8_t>(data, size) % 40;
    const int height2 = Take<std::uint8_t>(data, size) % 30;
    (void)MatchRegion(picture.data(), right.data(), model, left, top, left + width, top + height2);
    return 0;
}
