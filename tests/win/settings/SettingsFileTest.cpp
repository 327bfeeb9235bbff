// The settings file through the platform's private-profile calls: what lands
// on disk and what reads back. The value rules and the section selectors are
// tested natively (SettingsSchemaTest).
#include "settings/SettingsFile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/win/support/MessageBoxWatcher.h"
#include "framework/Handles.h"
#include "settings/CameraSettings.h"
#include "settings/FileReplace.h"
#include "settings/SettingsPaths.h"
#include "tests/support/SettingsSamples.h"
#include "tests/win/support/TestFiles.h"

using settings::SettingsFile;

namespace {

class SettingsFileTest : public ::testing::Test {
  protected:
    TempFolder folder;
    std::string path = settings::SettingsFilePath(folder.path(), 7);
    SettingsFile file;
};

}  // namespace

TEST_F(SettingsFileTest, NewFileHoldsExactlyTheNewFileKeysAndLoadsAsTheNewFileRecord) {
    file.CreateSettingIni(path);
    EXPECT_EQ(file.GetPath(), path);
    const std::string text = ReadRaw(path);
    EXPECT_EQ(IniRows(text), kNewSettingsFileRows);
    for (const char* absent :
         {"[Calibration Data]", "Path=", "Site Name", "Remote Access", "IP Addr", "Port="}) {
        EXPECT_EQ(text.find(absent), std::string::npos) << absent;
    }
    EXPECT_EQ(TempFolder::List(folder.path()), std::vector<std::string>{"Setting07.ini"});
    CameraSettings record = Scrambled();
    file.LoadSettingIni(record, kAllSections);
    CameraSettings expected;
    expected.displayObjectHeight = 1;  // a new file turns these Off
    expected.heightDetection = 1;
    EXPECT_EQ(record, expected);
}

TEST_F(SettingsFileTest, AnExistingFileIsLeftAsItIs) {
    const std::string hostFile = "[Counter Settings]\r\nSetted=1\r\n";
    ASSERT_TRUE(WriteRaw(path, hostFile));
    file.CreateSettingIni(path);
    EXPECT_EQ(ReadRaw(path), hostFile);
    CameraSettings record;
    file.LoadSettingIni(record, kAllSections);
    EXPECT_EQ(record.counterSetted, 1);
    EXPECT_EQ(record.heightDetection, 0);  // absent: the load default, not the new-file value
}

TEST_F(SettingsFileTest, SectionAndKeyNamesMatchWhateverTheirCase) {
    ASSERT_TRUE(WriteRaw(path,
                         "[GENERAL SETTINGS]\r\nsite name=Lobby\r\nPORT=8000\r\n"
                         "[camera angle]\r\nangle yz=-0.5\r\n"));
    file.CreateSettingIni(path);
    CameraSettings record;
    file.LoadSettingIni(record, kAllSections);
    EXPECT_EQ(record.siteName, "Lobby");
    EXPECT_EQ(record.port, 8000);
    EXPECT_EQ(record.angleYZ, -0.5f);
    record.port = 8001;
    file.SaveSettingIni(record, kGeneralSettings);
    const std::string text = ReadRaw(path);
    EXPECT_NE(text.find("PORT=8001"), std::string::npos) << text;  // replaced where it stood
    EXPECT_EQ(text.find("Port="), std::string::npos) << text;
    EXPECT_EQ(text.find("[General Settings]"), std::string::npos) << text;
}

TEST_F(SettingsFileTest, TheHostsKeysKeepTheirPlace) {
    // The host's own keys and comments between ours, and ours in another order.
    ASSERT_TRUE(WriteRaw(path,
                         "; written by the host\r\n"
                         "[Counter Settings]\r\nHost Key=abc\r\nMask Color=255\r\nSetted=0\r\n"
                         "[Host Section]\r\nSpeed=3\r\n"
                         "[General Settings]\r\nUnit=0\r\nSetted=0\r\n"));
    file.CreateSettingIni(path);
    file.SaveSettingIni(Scrambled(), kAllSections);
    const auto rows = IniRows(ReadRaw(path));
    // The rows that were there come first, in their order, with the new values.
    ASSERT_GE(rows.size(), 7u);
    EXPECT_EQ(std::get<1>(rows[0]), "; written by the host");
    EXPECT_EQ(rows[1], IniRow("Counter Settings", "Host Key", "abc"));
    EXPECT_EQ(rows[2], IniRow("Counter Settings", "Mask Color", "65280"));
    EXPECT_EQ(rows[3], IniRow("Counter Settings", "Setted", "1"));
    const auto at = [&](const IniRow& row) { return std::find(rows.begin(), rows.end(), row); };
    const auto host = at({"Host Section", "Speed", "3"});
    const auto unit = at({"General Settings", "Unit", "1"});
    const auto setted = at({"General Settings", "Setted", "4"});
    ASSERT_NE(host, rows.end());
    ASSERT_NE(unit, rows.end());
    ASSERT_NE(setted, rows.end());
    EXPECT_LT(host, unit);
    EXPECT_LT(unit, setted);
    CameraSettings loaded;
    file.LoadSettingIni(loaded, kAllSections);
    EXPECT_EQ(loaded, Scrambled());
    EXPECT_FALSE(Exists(settings::StagingPath(path)));  // the staging copy took the file's place
}

TEST_F(SettingsFileTest, AMissingFolderReadsDefaultsAndWritesNothing) {
    MessageBoxWatcher watcher;
    const std::string missing = settings::SettingsFilePath(folder.File("gone"), 7);
    file.CreateSettingIni(missing);
    EXPECT_FALSE(Exists(missing));
    CameraSettings record = Scrambled();
    file.SaveSettingIni(record, kAllSections);
    EXPECT_EQ(record, Scrambled());
    file.LoadSettingIni(record, kAllSections);
    EXPECT_EQ(record, CameraSettings{});
    EXPECT_TRUE(TempFolder::List(folder.path()).empty());
    EXPECT_TRUE(watcher.Boxes().empty());
}

TEST_F(SettingsFileTest, AFileHeldOpenByTheHostIsLeftAsItIs) {
    MessageBoxWatcher watcher;
    file.CreateSettingIni(path);
    const std::string before = ReadRaw(path);
    {
        FileHandle held(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held.valid());
        file.SaveSettingIni(Scrambled(), kAllSections);
        CameraSettings record = Scrambled();
        file.LoadSettingIni(record, kCounterSettings);  // reads what it can, no crash
    }
    EXPECT_EQ(ReadRaw(path), before);
    EXPECT_TRUE(watcher.Boxes().empty());
}

TEST_F(SettingsFileTest, GarbageLinesGiveDefaultsAndKeepGoodKeys) {
    MessageBoxWatcher watcher;
    std::string garbage = "\x01\x02\xff\xfe garbage\r\n=====\r\n[[[\r\n]\r\n[Camera Angle\r\n";
    garbage += std::string(5000, 'z') + "\r\n";
    garbage += "[Counter Settings]\r\nno equals sign here\r\n=value without key\r\n";
    garbage += "Mask Color=4660\r\n";
    garbage += std::string("bin\0ary=1\r\n", 11);
    garbage += "Update Interval=" + std::string(3000, '9') + "\r\n";
    ASSERT_TRUE(WriteRaw(path, garbage));
    file.CreateSettingIni(path);
    CameraSettings record = Scrambled();
    file.LoadSettingIni(record, kAllSections);
    EXPECT_EQ(record.maskColor, 4660);
    EXPECT_EQ(record.angleYZ, -0.785398f);
    EXPECT_EQ(record.port, 700);
    EXPECT_EQ(record.cutX2, 310);
    // Saving into it works and reads back.
    file.SaveSettingIni(Scrambled(), kAllSections);
    CameraSettings loaded;
    file.LoadSettingIni(loaded, kAllSections);
    EXPECT_EQ(loaded, Scrambled());
    EXPECT_TRUE(watcher.Boxes().empty());
}
