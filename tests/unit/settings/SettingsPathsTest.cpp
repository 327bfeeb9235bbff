#include "settings/SettingsPaths.h"

#include <gtest/gtest.h>

#include <string>

using namespace settings;

TEST(SettingsPaths, CameraNumberHasAtLeastTwoDigits) {
    EXPECT_EQ(SettingsFilePath("D:\\S", 7), "D:\\S\\Setting07.ini");
    EXPECT_EQ(ReferencePicturePath("D:\\S", 3), "D:\\S\\VImage03.bmp");
    EXPECT_EQ(MaskFilePath("D:\\S", 12), "D:\\S\\Mask12.bin");
    EXPECT_EQ(SettingsFilePath("D:\\S", 0), "D:\\S\\Setting00.ini");
    EXPECT_EQ(SettingsFilePath("D:\\S", 123), "D:\\S\\Setting123.ini");
    EXPECT_EQ(SettingsFilePath("D:\\S", -1), "D:\\S\\Setting-1.ini");
    EXPECT_EQ(SettingsFilePath("D:\\S", INT32_MIN), "D:\\S\\Setting-2147483648.ini");
}

TEST(SettingsPaths, FolderIsUsedUnchanged) {
    EXPECT_EQ(SettingsFilePath("D:\\S\\", 7), "D:\\S\\\\Setting07.ini");
    EXPECT_EQ(SettingsFilePath("C:\\My Data\\Cam 1", 1), "C:\\My Data\\Cam 1\\Setting01.ini");
    EXPECT_EQ(SettingsFilePath("", 7), "\\Setting07.ini");
    const std::string longFolder(1000, 'f');
    EXPECT_EQ(MaskFilePath(longFolder, 5), longFolder + "\\Mask05.bin");
}
