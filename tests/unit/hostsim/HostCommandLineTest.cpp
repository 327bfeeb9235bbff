#include <gtest/gtest.h>

#include "tools/hostsim/HostCommandLine.h"

using hostsim::FullCommandLine;
using hostsim::ProgramArguments;

TEST(HostCommandLine, ArgumentsAreTheHostsFourKeysInOrderWrittenAsGiven) {
    EXPECT_EQ(ProgramArguments("D:\\S", 7, 0x2f0a4, "English.ini"),
              "setting=\"D:\\S\" camera=7 hwnd=2f0a4 lang=English.ini");
    EXPECT_EQ(ProgramArguments("C:\\My Data\\Cam 1", 12, 0xFFFFFFFFu, ""),
              "setting=\"C:\\My Data\\Cam 1\" camera=12 hwnd=ffffffff lang=");
    EXPECT_EQ(ProgramArguments("", -3, 0, "x"), "setting=\"\" camera=-3 hwnd=0 lang=x");
}

TEST(HostCommandLine, FullLineQuotesTheProgramPath) {
    EXPECT_EQ(FullCommandLine("C:\\Program Files\\T\\App.exe", "a=1"),
              "\"C:\\Program Files\\T\\App.exe\" a=1");
    EXPECT_EQ(FullCommandLine("App.exe", ""), "\"App.exe\"");
}
