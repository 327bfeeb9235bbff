#include "settings/IniFile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "settings/ValueRules.h"
#include "tests/win/support/TestFiles.h"

TEST(GetIniString, ValueOrDefaultNamesWithoutCaseAtMost259Characters) {
    TempFolder folder;
    const std::string file = folder.Write(
        "Layout.ini", "[skin]\r\nMENU=menu.bmp\r\nEmpty=\r\nB=" + std::string(300, 'q') +
                          "\r\nC=" + std::string(259, 'r') + "\r\n");
    EXPECT_EQ(GetIniString("Skin", "Menu", "x", file), "menu.bmp");
    EXPECT_EQ(GetIniString("Skin", "Empty", "x", file), "");
    EXPECT_EQ(GetIniString("Skin", "Missing", "fallback", file), "fallback");
    EXPECT_EQ(GetIniString("Other", "Menu", "fallback", file), "fallback");
    EXPECT_EQ(GetIniString("Skin", "Missing", nullptr, file), "");
    EXPECT_EQ(GetIniString("Skin", "Menu", "fallback", folder.File("none.ini")), "fallback");
    EXPECT_EQ(GetIniString("Skin", "B", "", file), std::string(259, 'q'));
    EXPECT_EQ(GetIniString("Skin", "C", "", file), std::string(259, 'r'));
    EXPECT_EQ(GetIniString("Skin", "Z", std::string(400, 'd').c_str(), file).size(), 259u);
}

TEST(IniFile, RefusesNamesThePlatformWouldTakeAsRequests) {
    TempFolder folder;
    const std::string file = folder.Write("S.ini", "[A]\r\nB=1\r\n");
    EXPECT_EQ(GetIniString(nullptr, "B", "d", file), "d");  // would list the sections
    EXPECT_EQ(GetIniString("A", nullptr, "d", file), "d");  // would list the keys
    EXPECT_FALSE(WriteIniString("A", nullptr, "x", file));  // would delete the section
    EXPECT_FALSE(WriteIniInt(nullptr, "B", 1, file));
    EXPECT_EQ(ReadRaw(file), "[A]\r\nB=1\r\n");
}

TEST(IniFile, FileNamesWithoutAFolderAreNotTakenToTheWindowsFolder) {
    char windows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string name =
        "tallyscope-settings-" + std::to_string(::GetCurrentProcessId()) + ".ini";
    EXPECT_FALSE(WriteIniInt("A", "B", 1, name));
    EXPECT_FALSE(WriteIniString("A", "B", "x", name));
    EXPECT_FALSE(WriteIniInt("A", "B", 1, ""));
    EXPECT_EQ(GetIniInt("A", "B", 5, name), 5);
    EXPECT_EQ(GetIniString("windows", "load", "none", "win.ini"), "none");
    EXPECT_FALSE(Exists(std::string(windows) + "\\" + name));
}

TEST(IniFile, WritesLandOnDiskAtOnceAndTextsStayOneLine) {
    TempFolder folder;
    const std::string file = folder.File("W.ini");
    EXPECT_TRUE(WriteIniInt("Counter Settings", "Mask Size", -48, file));
    EXPECT_TRUE(WriteIniString("Counter Settings", "Name", "Door 1", file));
    EXPECT_EQ(IniRows(ReadRaw(file)),
              (std::vector<IniRow>{{"Counter Settings", "Mask Size", "-48"},
                                   {"Counter Settings", "Name", "Door 1"}}));
    EXPECT_TRUE(
        WriteIniString("General Settings", "Site Name", "Gate\r\n[Common]\r\nVarTh=9", file));
    EXPECT_EQ(GetIniString("General Settings", "Site Name", "", file), "Gate");
    EXPECT_EQ(GetIniInt("Common", "VarTh", 0, file), 0);
    EXPECT_TRUE(WriteIniString("General Settings", "Site Name", std::string(300, 'n'), file));
    EXPECT_EQ(GetIniString("General Settings", "Site Name", "", file), std::string(259, 'n'));
}

// The platform's integer reading, which the host shares, agrees with the
// integer rule of this program's own tests on decimal values.
TEST(GetIniInt, AgreesWithTheIntegerRule) {
    TempFolder folder;
    const std::string file = folder.File("I.ini");
    const char* values[] = {"0",   "-1",    "42",  "+7",         "30.5",        "100.0",
                            "abc", "12abc", "-",   "2147483647", "-2147483648", "65535",
                            " 9 ", "-0",    "007", "1e5",        "4294967295"};
    int index = 0;
    for (const char* value : values) {
        const std::string key = "K" + std::to_string(index++);
        ASSERT_TRUE(WriteIniString("N", key.c_str(), value, file));
        EXPECT_EQ(GetIniInt("N", key.c_str(), 77, file), settings::IntegerFromText(value, 77))
            << "value " << value;
    }
    ASSERT_TRUE(WriteIniString("N", "Empty", "", file));
    EXPECT_EQ(GetIniInt("N", "Empty", 77, file), 77);
    EXPECT_EQ(GetIniInt("N", "Absent", 77, file), 77);
}
