#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

CommandLineValues Parse(const std::string& line, bool expectAccepted = true) {
    CommandLineValues values;
    EXPECT_EQ(ParseCommandLine(line, values), expectAccepted) << line;
    return values;
}

TEST(CommandLine, HostLineInAnyKeyOrder) {
    for (const std::string line :
         {R"(setting="D:\S" camera=7 hwnd=2f0a4 lang=English.ini)",
          R"(lang=English.ini hwnd=2F0A4 camera=7 setting="D:\S")",
          R"(camera=7   lang=English.ini	setting="D:\S" hwnd=0x2f0a4)"}) {
        const CommandLineValues v = Parse(line);
        ASSERT_TRUE(v.settingFolder.has_value()) << line;
        EXPECT_EQ(*v.settingFolder, R"(D:\S)") << line;
        EXPECT_EQ(v.cameraId, 7) << line;
        EXPECT_EQ(v.hostWnd, 0x2F0A4u) << line;
        EXPECT_EQ(v.languageIni, "English.ini") << line;
    }
}

TEST(CommandLine, QuotedFolderKeepsBlanksAndTrailingBackslash) {
    EXPECT_EQ(*Parse(R"(setting="C:\My Data\Cam 1" camera=1 hwnd=10 lang=a.ini)").settingFolder,
              R"(C:\My Data\Cam 1)");
    EXPECT_EQ(*Parse(R"(setting="C:\Data\" camera=1 hwnd=10 lang=a.ini)").settingFolder,
              R"(C:\Data\)");
}

TEST(CommandLine, CameraThatIsNoNumberStaysZero) {
    EXPECT_EQ(Parse("setting=\"x\" camera=abc hwnd=1 lang=a").cameraId, 0);
    EXPECT_EQ(Parse("camera=-3 hwnd=1").cameraId, -3);
    // Beyond int32 the number cannot be held: the camera keeps its value.
    EXPECT_EQ(Parse("camera=99999999999 hwnd=1").cameraId, 0);
}

TEST(CommandLine, HostWindowZeroOrUnreadableIsRefused) {
    Parse("setting=\"x\" camera=1 hwnd=0 lang=a", false);
    Parse("setting=\"x\" camera=1 hwnd=xyz lang=a", false);
    Parse("hwnd=", false);
    Parse("hwnd=-1", false);
    // A value wider than the 32-bit handle cannot be the host's window.
    Parse("hwnd=123456789", false);
    EXPECT_EQ(Parse("hwnd=ffffffff").hostWnd, 0xFFFFFFFFu);
}

TEST(CommandLine, AbsentKeysKeepTheirValues) {
    CommandLineValues v;
    v.cameraId = 4;
    v.languageIni = "Keep.ini";
    EXPECT_TRUE(ParseCommandLine("camera=2", v));
    EXPECT_EQ(v.cameraId, 2);
    EXPECT_EQ(v.languageIni, "Keep.ini");
    EXPECT_FALSE(v.settingFolder.has_value());
    EXPECT_EQ(v.hostWnd, 0u);  // no "hwnd=" does not by itself refuse the line

    const CommandLineValues empty = Parse("");
    EXPECT_EQ(empty.cameraId, 0);
    EXPECT_FALSE(empty.settingFolder.has_value());
}

TEST(CommandLine, EachValueEndsAtTheNextKey) {
    // Without blanks between them, every key still gets only its own value.
    const CommandLineValues v = Parse(R"(camera=5hwnd=abclang=De.inisetting="F")");
    EXPECT_EQ(v.cameraId, 5);
    EXPECT_EQ(v.hostWnd, 0xABCu);
    EXPECT_EQ(v.languageIni, "De.ini");
    EXPECT_EQ(*v.settingFolder, "F");
}

TEST(CommandLine, UnquotedFolderIsTakenUpToTheNextBlank) {
    EXPECT_EQ(*Parse(R"(setting=D:\Cams camera=1 hwnd=1)").settingFolder, R"(D:\Cams)");
    EXPECT_EQ(*Parse("setting= camera=1 hwnd=1").settingFolder, "");
    // One lone quote is no pair.
    EXPECT_EQ(*Parse("setting=\"D:\\Cams camera=1 hwnd=1").settingFolder, "");
}

TEST(CommandLine, LanguageNameIsCutToItsBuffer) {
    const std::string longName(5000, 'L');
    const CommandLineValues v = Parse("hwnd=1 lang=" + longName + ".ini camera=2");
    EXPECT_EQ(v.languageIni.size(), kMaxLanguageIni);
    EXPECT_EQ(v.languageIni, std::string(kMaxLanguageIni, 'L'));
    EXPECT_EQ(v.cameraId, 2);
    EXPECT_EQ(Parse("hwnd=1 lang=").languageIni, "");
}

TEST(CommandLine, RepeatedKeysUseTheFirstOccurrence) {
    const CommandLineValues v = Parse("camera=1 camera=2 hwnd=5 hwnd=0 lang=a lang=b");
    EXPECT_EQ(v.cameraId, 1);
    EXPECT_EQ(v.hostWnd, 5u);
    EXPECT_EQ(v.languageIni, "a");
}

TEST(CommandLine, ArbitraryBytesNeverBreakTheParser) {
    CommandLineValues v;  // any bytes at all: the command_line fuzz target
    ParseCommandLine("setting=\"\xE9\xFF\x80\" camera=\xB2 hwnd=1 lang=\xC4rger.ini", v);
    EXPECT_EQ(*v.settingFolder, "\xE9\xFF\x80");
    EXPECT_EQ(v.languageIni, "\xC4rger.ini");
    EXPECT_EQ(v.hostWnd, 1u);
}

}  // namespace
