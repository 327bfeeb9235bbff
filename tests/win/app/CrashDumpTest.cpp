// The crash-dump writer in a process that really crashes.
#include <windows.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "app/CrashDump.h"
#include "tests/win/support/TestFiles.h"

namespace {

// Runs the crashing probe with its dump folder and returns its exit code.
DWORD RunProbe(const std::string& folder, const std::string& probe = TEST_PROBE_EXE) {
    std::string command = "\"" + probe + "\" \"" + folder + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return 0xFFFFFFFF;
    }
    DWORD code = 0xFFFFFFFE;
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    } else {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

TEST(CrashDump, CrashLeavesAMinidumpNamedAfterTheProgramAndTheMoment) {
    TempFolder folder;
    EXPECT_NE(RunProbe(folder.path()), 0u);
    const auto files = TempFolder::List(folder.path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(
        std::regex_match(files[0], std::regex(R"(TallyscopeSettingAppEXE-\d{8}-\d{6}\.dmp)")))
        << files[0];
    const std::string dump = ReadRaw(folder.File(files[0]));
    ASSERT_GT(dump.size(), 32u);
    EXPECT_EQ(dump.substr(0, 4), "MDMP");
}

// A copy of the probe under its own name, for which Wine's per-program DLL
// setting (an empty load order) disables the debug-help library, as on a
// machine without it. The probe itself stays untouched, so tests can run
// side by side.
TEST(CrashDump, WithoutTheDebugHelpLibraryTheReasonIsLeftInTheFile) {
    TempFolder folder;
    TempFolder programs;
    constexpr char kName[] = "crash_probe_without_dbghelp.exe";
    const std::string probe = programs.File(kName);
    ASSERT_TRUE(CopyFileA(TEST_PROBE_EXE, probe.c_str(), FALSE));
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(
                  HKEY_CURRENT_USER,
                  (std::string("Software\\Wine\\AppDefaults\\") + kName + "\\DllOverrides").c_str(),
                  0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "dbghelp", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    RegCloseKey(key);
    RunProbe(folder.path(), probe);
    const auto files = TempFolder::List(folder.path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(ReadRaw(folder.File(files[0])), "DBGHELP.DLL not found");
}

TEST(CrashDump, TimeSuffixIsYearMonthDayHourMinuteSecond) {
    SYSTEMTIME time{};
    time.wYear = 2026;
    time.wMonth = 3;
    time.wDay = 7;
    time.wDayOfWeek = 6;
    time.wHour = 4;
    time.wMinute = 5;
    time.wSecond = 9;
    char suffix[32];
    crashdump::FormatTimeSuffix(time, suffix, sizeof suffix);
    EXPECT_STREQ(suffix, "-20260307-040509");
}

}  // namespace
