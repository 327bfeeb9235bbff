#include "settings/CalibrationFormat.h"

#include <cstring>

namespace settings {

CalibrationVerdict CheckCalibrationSize(uint64_t fileSize) {
    return fileSize == kCalibrationFileSize ? CalibrationVerdict::Valid
                                            : CalibrationVerdict::WrongSize;
}

CalibrationVerdict CheckCalibrationVersion(std::span<const uint8_t> head) {
    if (head.size() < kCalibrationVersionBytes) return CalibrationVerdict::ShortRead;
    const uint32_t bits = uint32_t{head[0]} | uint32_t{head[1]} << 8 | uint32_t{head[2]} << 16 |
                          uint32_t{head[3]} << 24;
    float version = 0.0f;
    static_assert(sizeof version == sizeof bits);
    std::memcpy(&version, &bits, sizeof version);
    return version == kCalibrationVersion ? CalibrationVerdict::Valid
                                          : CalibrationVerdict::WrongVersion;
}

CalibrationVerdict CheckCalibrationBytes(std::span<const uint8_t> file) {
    const CalibrationVerdict size = CheckCalibrationSize(file.size());
    if (size != CalibrationVerdict::Valid) return size;
    return CheckCalibrationVersion(file);
}

}  // namespace settings
