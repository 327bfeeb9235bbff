#pragma once
// What makes a stereo calibration file (*.coe) acceptable: exactly 272 bytes,
// starting with the format version as a little-endian float 2.0. The other
// 268 bytes belong to the host and are not looked at.
#include <cstdint>
#include <span>

namespace settings {

inline constexpr uint64_t kCalibrationFileSize = 272;
inline constexpr uint32_t kCalibrationVersionBytes = 4;
inline constexpr float kCalibrationVersion = 2.0f;

inline constexpr const char* kCantOpenFileText = "Can't open file: ";
inline constexpr const char* kVersionErrorText =
    "Version error! Please input version 2.0 coe file.";

enum class CalibrationVerdict {
    Valid,
    WrongSize,     // not 272 bytes: refused without a message
    ShortRead,     // fewer than 4 bytes could be read: refused without a message
    WrongVersion,  // refused with kVersionErrorText
};

// Step 1: the file's size from its status.
CalibrationVerdict CheckCalibrationSize(uint64_t fileSize);

// Step 2: the first bytes as read from the file (only the first 4 count).
// The version must be exactly 2.0; a NaN is not 2.0 either.
CalibrationVerdict CheckCalibrationVersion(std::span<const uint8_t> head);

// Both steps on a whole file held in memory.
CalibrationVerdict CheckCalibrationBytes(std::span<const uint8_t> file);

}  // namespace settings
