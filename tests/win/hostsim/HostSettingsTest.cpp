// What the stand-in host reads from the settings file and the calibration file.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/hostsim/CalibrationFile.h"
#include "tools/hostsim/HostFixture.h"
#include "tools/hostsim/Simulator.h"

using namespace hostsim;

TEST(HostSettingsFile, MissingFileReadsTheProgramsLoadDefaults) {
    HostFixture folder;
    const HostSettings s = ReadHostSettings(folder.SettingsFile(3));
    EXPECT_TRUE(s.calibrationPath.empty());
    EXPECT_EQ(s.cameraAngleSetted, 0);
    EXPECT_EQ(s.templateDimension, 100.0f);
    EXPECT_EQ(s.angles.angleYZ, -0.785398f);
    EXPECT_EQ(s.angles.angleXY, 0.0f);
    EXPECT_EQ(s.height, 240.0f);
    EXPECT_EQ(s.counterSetted, 0);
    EXPECT_FALSE(s.HasLine());
    EXPECT_EQ(s.cutX1, 10);
    EXPECT_EQ(s.cutX2, 310);
}

TEST(HostSettingsFile, ReadsTheProgramsWrittenForms) {
    HostFixture folder;
    const std::string file = "Setting03.ini";
    ASSERT_TRUE(folder.WriteFile(file,
                                 "[Calibration Data]\r\nPath=C:\\Cal\\Left Right.coe\r\n"
                                 "[Camera Angle]\r\nSetted=1\r\nTemplate Dimension=30.5\r\n"
                                 "Angle XY=0.012000\r\nAngle YZ=abc\r\nAngle XZ=\r\n"
                                 "Height=251.5\r\n"
                                 "[Counter Settings]\r\nSetted=1\r\nImage Cnt Line Pt1 x=40\r\n"
                                 "Image Cnt Line Pt1 y=150\r\nImage Cnt Line Pt2 x=280\r\n"
                                 "Image Cnt Line Pt2 y=-1\r\nDisplay Tracking Frame=1\r\n"
                                 "[Common]\r\nCut X1=-5\r\nCut X2=9999\r\n"));
    const HostSettings s = ReadHostSettings(folder.PathOf(file));
    EXPECT_EQ(s.calibrationPath, "C:\\Cal\\Left Right.coe");
    EXPECT_EQ(s.cameraAngleSetted, 1);
    EXPECT_EQ(s.templateDimension, 30.0f);  // integer rule: the fraction is dropped
    EXPECT_FLOAT_EQ(s.angles.angleXY, 0.012f);
    EXPECT_EQ(s.angles.angleYZ, 0.0f);  // letters read as 0
    EXPECT_EQ(s.angles.angleXZ, 0.0f);  // empty: the default
    EXPECT_EQ(s.height, 251.5f);
    EXPECT_EQ(s.imageLine[3], -1);
    EXPECT_FALSE(s.HasLine());
    EXPECT_EQ(s.displayTrackingFrame, 1);
    EXPECT_EQ(s.cutX1, -5);
    EXPECT_EQ(s.cutX2, 9999);
}

TEST(HostSettingsFile, NumbersBeyondFloatSaturate) {
    HostFixture folder;
    ASSERT_TRUE(folder.WriteIni("Setting01.ini", "Camera Angle", "Height", "1e300"));
    ASSERT_TRUE(folder.WriteIni("Setting01.ini", "Camera Angle", "Angle YZ", "-1e300"));
    const HostSettings s = ReadHostSettings(folder.SettingsFile(1));
    EXPECT_TRUE(std::isinf(s.height) && s.height > 0);
    EXPECT_TRUE(std::isinf(s.angles.angleYZ) && s.angles.angleYZ < 0);
    // Such a camera puts no counting line on the floor, and nothing breaks.
    const FloorLine line = FloorLineOf(CameraModel{}, s.angles, s.height, 10, 10, 100, 100);
    EXPECT_FALSE(line.onFloor);
}

TEST(CalibrationFileOnDisk, WrittenSampleReadsBackAndBadFilesAreRefused) {
    HostFixture folder;
    CameraModel model;
    model.focalLength = 321.5f;
    ASSERT_TRUE(WriteCalibrationFile(folder.PathOf("Good.coe"), model));
    std::string error;
    auto read = ReadCalibrationFile(folder.PathOf("Good.coe"), &error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(read->focalLength, 321.5f);

    auto bytes = folder.ReadFile("Good.coe");
    ASSERT_TRUE(bytes);
    ASSERT_TRUE(folder.WriteFile("Long.coe", *bytes + "x"));  // the sizes: CalibrationFileTest
    EXPECT_FALSE(ReadCalibrationFile(folder.PathOf("Long.coe"), &error));
    EXPECT_NE(error.find("272"), std::string::npos);
    EXPECT_FALSE(ReadCalibrationFile(folder.PathOf("Missing.coe"), &error));
    EXPECT_FALSE(ReadCalibrationFile("", &error));
    EXPECT_FALSE(ReadCalibrationFile(folder.SettingsFolder(), nullptr));  // a folder
    EXPECT_FALSE(WriteCalibrationFile(folder.PathOf("No\\Such\\Folder.coe"), model));
}
