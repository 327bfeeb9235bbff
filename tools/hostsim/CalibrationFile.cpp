#include "tools/hostsim/CalibrationFile.h"

#include <cmath>
#include <cstring>

namespace hostsim {

namespace {

constexpr char kLayoutTag[4] = {'H', 'S', 'I', 'M'};

void PutFloat(unsigned char* at, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(bits >> (8 * i));
}
void PutInt(unsigned char* at, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(bits >> (8 * i));
}
std::uint32_t GetBits(const unsigned char* at) {
    return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 |
           std::uint32_t{at[3]} << 24;
}
float GetFloat(const unsigned char* at) {
    const std::uint32_t bits = GetBits(at);
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

}  // namespace

CalibrationBytes EncodeCalibration(const CameraModel& model) {
    CalibrationBytes bytes{};
    PutFloat(&bytes[0], 2.0f);
    std::memcpy(&bytes[4], kLayoutTag, 4);
    PutFloat(&bytes[8], model.focalLength);
    PutFloat(&bytes[12], model.principalX);
    PutFloat(&bytes[16], model.principalY);
    PutFloat(&bytes[20], model.baseline);
    PutInt(&bytes[24], model.width);
    PutInt(&bytes[28], model.height);
    return bytes;
}

CalibrationRead DecodeCalibration(const unsigned char* bytes, std::size_t size) {
    CalibrationRead result;
    if (!bytes || size != kCalibrationFileBytes) {
        result.error = "not 272 bytes";
        return result;
    }
    if (GetFloat(bytes) != 2.0f) {
        result.error = "version is not 2.0";
        return result;
    }
    if (std::memcmp(bytes + 4, kLayoutTag, 4) != 0) {
        result.error = "not a stand-in host calibration";
        return result;
    }
    CameraModel model;
    model.focalLength = GetFloat(bytes + 8);
    model.principalX = GetFloat(bytes + 12);
    model.principalY = GetFloat(bytes + 16);
    model.baseline = GetFloat(bytes + 20);
    model.width = static_cast<std::int32_t>(GetBits(bytes + 24));
    model.height = static_cast<std::int32_t>(GetBits(bytes + 28));
    const bool finite = std::isfinite(model.focalLength) && std::isfinite(model.principalX) &&
                        std::isfinite(model.principalY) && std::isfinite(model.baseline);
    if (!finite || !(model.focalLength >= 20.0f && model.focalLength <= 5000.0f) ||
        !(model.baseline >= 0.5f && model.baseline <= 200.0f)) {
        result.error = "focal length or baseline out of range";
        return result;
    }
    if (model.width != 320 || model.height != 240) {
        result.error = "picture is not 320 x 240";
        return result;
    }
    if (model.principalX < 0 || model.principalX > 319 || model.principalY < 0 ||
        model.principalY > 239) {
        result.error = "principal point outside the picture";
        return result;
    }
    result.model = model;
    return result;
}

}  // namespace hostsim
