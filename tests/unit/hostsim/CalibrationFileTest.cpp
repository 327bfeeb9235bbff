#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "tools/hostsim/CalibrationFile.h"

using namespace hostsim;

TEST(CalibrationFile, SampleStartsWithVersionTwoAndReadsBack) {
    CameraModel model;
    model.focalLength = 300.25f;
    model.principalX = 158.0f;
    model.principalY = 121.5f;
    model.baseline = 12.5f;
    const CalibrationBytes bytes = EncodeCalibration(model);
    ASSERT_EQ(bytes.size(), 272u);
    const unsigned char two[4] = {0x00, 0x00, 0x00, 0x40};  // 2.0f, little-endian
    EXPECT_EQ(std::memcmp(bytes.data(), two, 4), 0);
    for (std::size_t i = 32; i < bytes.size(); ++i) ASSERT_EQ(bytes[i], 0) << i;
    const CalibrationRead read = DecodeCalibration(bytes.data(), bytes.size());
    ASSERT_TRUE(read.model) << read.error;
    EXPECT_EQ(read.model->focalLength, 300.25f);
    EXPECT_EQ(read.model->principalX, 158.0f);
    EXPECT_EQ(read.model->principalY, 121.5f);
    EXPECT_EQ(read.model->baseline, 12.5f);
    EXPECT_EQ(read.model->width, 320);
    EXPECT_EQ(read.model->height, 240);
}

TEST(CalibrationFile, RefusesWrongSizeVersionAndLayout) {
    const CalibrationBytes good = EncodeCalibration(CameraModel{});
    EXPECT_FALSE(DecodeCalibration(good.data(), 271).model);
    EXPECT_FALSE(DecodeCalibration(nullptr, 272).model);
    std::vector<unsigned char> longer(good.begin(), good.end());
    longer.push_back(0);
    EXPECT_FALSE(DecodeCalibration(longer.data(), longer.size()).model);

    CalibrationBytes versionOne = good;
    const float one = 1.0f;
    std::memcpy(versionOne.data(), &one, 4);
    const CalibrationRead v1 = DecodeCalibration(versionOne.data(), versionOne.size());
    EXPECT_FALSE(v1.model);
    EXPECT_EQ(v1.error, "version is not 2.0");

    CalibrationBytes foreign = good;  // version 2.0 but another maker's data
    std::memset(foreign.data() + 4, 0xAB, 268);
    const CalibrationRead other = DecodeCalibration(foreign.data(), foreign.size());
    EXPECT_FALSE(other.model);
    EXPECT_FALSE(other.error.empty());
}

TEST(CalibrationFile, RefusesValuesNoCameraHas) {
    const auto withModel = [](auto change) {
        CameraModel model;
        change(model);
        const CalibrationBytes bytes = EncodeCalibration(model);
        return DecodeCalibration(bytes.data(), bytes.size()).model.has_value();
    };
    EXPECT_TRUE(withModel([](CameraModel&) {}));
    EXPECT_FALSE(withModel([](CameraModel& m) { m.focalLength = 0; }));
    EXPECT_FALSE(withModel([](CameraModel& m) { m.focalLength = -260; }));
    EXPECT_FALSE(withModel([](CameraModel& m) { m.focalLength = std::nanf(""); }));
    EXPECT_FALSE(
        withModel([](CameraModel& m) { m.baseline = std::numeric_limits<float>::infinity(); }));
    EXPECT_FALSE(withModel([](CameraModel& m) { m.baseline = 0; }));
    EXPECT_FALSE(withModel([](CameraModel& m) { m.principalX = 400; }));
    EXPECT_FALSE(withModel([](CameraModel& m) { m.principalY = -1; }));
    EXPECT_FALSE(withModel([](CameraModel& m) { m.width = 640; }));
    EXPECT_FALSE(withModel([](CameraModel& m) { m.height = -240; }));
}
