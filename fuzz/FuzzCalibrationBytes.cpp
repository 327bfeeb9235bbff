// Any calibration file bytes, and any bytes in the three small shared
// blocks: the verdict follows the size and version rules alone, and every
// block reads back exactly what was written to it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "fuzz/FuzzInput.h"
#include "hostlink/BlockLayouts.h"
#include "settings/CalibrationFormat.h"

using namespace hostlink;
using namespace settings;
using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> file(data, size);
    const CalibrationVerdict verdict = CheckCalibrationBytes(file);
    if (size != kCalibrationFileSize) {
        Check(verdict == CalibrationVerdict::WrongSize);
    } else {
        float version = 0.0f;
        std::memcpy(&version, data, sizeof version);
        Check((verdict == CalibrationVerdict::Valid) == (version == 2.0f));
    }
    Check(CheckCalibrationVersion(file.first(size < 4 ? size : 4)) ==
          (size < 4 ? CalibrationVerdict::ShortRead : CheckCalibrationVersion(file)));

    // The blocks: read from the input's first bytes, written back to a fresh
    // block with guard bytes around it, read again.
    std::array<unsigned char, kPatternFeatureBlockBytes + 16> block{};
    std::memcpy(block.data(), data, size < block.size() ? size : block.size());
    const PatternCorners corners = ReadPatternCorners(block.data());
    const CountingLineBlock line = ReadCountingLine(block.data());
    const CameraAngleBlock angle = ReadCameraAngle(block.data());

    std::array<unsigned char, kPatternFeatureBlockBytes + 16> out;
    out.fill(0xA5);
    unsigned char* inner = out.data() + 8;
    WritePatternCorners(inner, corners);
    Check(std::memcmp(inner, block.data(), kPatternFeatureBlockBytes) == 0);
    Check(ReadPatternCorners(inner) == corners);
    out.fill(0xA5);
    WriteCountingLine(inner, line);
    Check(std::memcmp(inner, block.data(), kCountingLineBlockBytes) == 0);
    out.fill(0xA5);
    WriteCameraAngle(inner, angle);
    Check(std::memcmp(inner, block.data(), kCameraAngleBlockBytes) == 0);
    // Nothing outside the block's own bytes was touched.
    for (size_t i = 0; i < 8; ++i) Check(out[i] == 0xA5);
    for (size_t i = 8 + kCameraAngleBlockBytes; i < out.size(); ++i) Check(out[i] == 0xA5);
    return 0;
}
