#include "settings/CalibrationFormat.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

using namespace settings;

namespace {

std::vector<uint8_t> CoeFile(float version, std::size_t size, uint8_t fill = 0) {
    std::vector<uint8_t> file(size, fill);
    if (size >= 4) std::memcpy(file.data(), &version, 4);  // little-endian on every target
    return file;
}

}  // namespace

TEST(CalibrationFormat, Version2Of272BytesPassesWhateverFollows) {
    for (uint8_t fill : {0x00, 0xFF, 0x5A})
        EXPECT_EQ(CheckCalibrationBytes(CoeFile(2.0f, 272, fill)), CalibrationVerdict::Valid);
}

TEST(CalibrationFormat, AnyOtherSizeIsRefusedSilently) {
    for (std::size_t size : {0u, 3u, 4u, 271u, 273u, 544u}) {
        EXPECT_EQ(CheckCalibrationBytes(CoeFile(2.0f, size)), CalibrationVerdict::WrongSize)
            << size;
    }
    EXPECT_EQ(CheckCalibrationSize(272ull + (1ull << 32)), CalibrationVerdict::WrongSize);
}

TEST(CalibrationFormat, OtherVersionsAreVersionErrors) {
    for (float version :
         {1.0f, 2.0000002f, 1.9999999f, -2.0f, 0.0f, 20.0f, std::numeric_limits<float>::infinity(),
          std::numeric_limits<float>::quiet_NaN()}) {
        EXPECT_EQ(CheckCalibrationBytes(CoeFile(version, 272)), CalibrationVerdict::WrongVersion)
            << version;
    }
}

TEST(CalibrationFormat, VersionIsLittleEndianAndNeedsFourBytes) {
    const uint8_t head[4] = {0x00, 0x00, 0x00, 0x40};  // 2.0f
    EXPECT_EQ(CheckCalibrationVersion(head), CalibrationVerdict::Valid);
    const uint8_t swapped[4] = {0x40, 0x00, 0x00, 0x00};
    EXPECT_EQ(CheckCalibrationVersion(swapped), CalibrationVerdict::WrongVersion);
    const uint8_t three[3] = {0x00, 0x00, 0x00};
    EXPECT_EQ(CheckCalibrationVersion(three), CalibrationVerdict::ShortRead);
    EXPECT_EQ(CheckCalibrationVersion({}), CalibrationVerdict::ShortRead);
}
