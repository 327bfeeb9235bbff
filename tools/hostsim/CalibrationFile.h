#pragma once
// The stand-in host's calibration file (*.coe, 272 bytes, little-endian):
//   0   float32  format version, 2.0
//   4   char[4]  "HSIM": this simulator's layout follows
//   8   float32  focal length, pixels
//   12  float32  principal point x, pixels
//   16  float32  principal point y, pixels
//   20  float32  baseline, centimetres
//   24  int32    picture width (320)
//   28  int32    picture height (240)
//   32  240 bytes reserved, zero
// The settings program only checks the size and the version; the remaining
// bytes belong to the host.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "tools/hostsim/CameraGeometry.h"

namespace hostsim {

constexpr std::size_t kCalibrationFileBytes = 272;
using CalibrationBytes = std::array<unsigned char, kCalibrationFileBytes>;

CalibrationBytes EncodeCalibration(const CameraModel& model);

struct CalibrationRead {
    std::optional<CameraModel> model;  // set when the bytes hold a usable model
    std::string error;                 // why not, otherwise
};
// Refuses a wrong size or version, a file of another layout and values no
// camera can have (non-finite, focal length or baseline out of range,
// principal point outside the picture, a picture other than 320 x 240).
CalibrationRead DecodeCalibration(const unsigned char* bytes, std::size_t size);

}  // namespace hostsim
