// The crash-dump writer in a process that really crashes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "app/CrashDump.h"
#include "tests/win/support/TestFiles.h"

namespace {

// Runs the crashing probe with its dump folder and its way of crashing, in
// the current folder `workingFolder` (null: ours), and returns its exit code.
DWORD RunProbe(const std::string& folder, const std::string& probe = TEST_PROBE_EXE,
               const char* how = "access", const char* workingFolder = nullptr) {
    std::string command = "\"" + probe + "\" \"" + folder + "\" " + how;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, workingFolder,
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

// The exception code a minidump records, read through its header and stream
// directory; nothing when the file is no minidump or has no exception stream.
std::optional<uint32_t> DumpedExceptionCode(const std::string& dump) {
    auto word = [&](size_t at) -> std::optional<uint32_t> {
        if (at > dump.size() || dump.size() - at < 4) return std::nullopt;
        uint32_t value = 0;
        memcpy(&value, dump.data() + at, 4);
        return value;
    };
    if (dump.substr(0, 4) != "MDMP" || (word(4).value_or(0) & 0xFFFF) != 0xA793) return {};
    const uint32_t streams = word(8).value_or(0);
    const uint32_t directory = word(12).value_or(0);
    for (uint32_t i = 0; i < streams && i < 64; ++i) {
        const size_t entry = directory + size_t{i} * 12;
        if (word(entry) == 6u) {  // ExceptionStream: thread id, alignment, then the record
            if (auto rva = word(entry + 8)) return word(*rva + 8);
        }
    }
    return std::nullopt;
}

TEST(CrashDump, CrashLeavesAMinidumpNamedAfterTheProgramAndTheMoment) {
    TempFolder folder;
    EXPECT_NE(RunProbe(folder.path()), 0u);
    const auto files = TempFolder::List(folder.path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(
        std::regex_match(files[0], std::regex(R"(TallyscopeSettingAppEXE-\d{8}-\d{6}\.dmp)")))
        << files[0];
    EXPECT_EQ(DumpedExceptionCode(ReadRaw(folder.File(files[0]))), 0xC0000005u);
}

// A C++ exception nobody catches (an allocation failure in a message handler)
// is a crash like any other; with an empty program folder handed over, the
// dump still lands beside the program, not in whatever folder is current.
TEST(CrashDump, UncaughtCppExceptionLeavesADumpBesideTheProgramEvenWithAnEmptyFolder) {
    TempFolder programs;
    TempFolder current;
    const std::string probe = programs.File("crash_probe_throwing.exe");
    ASSERT_TRUE(CopyFileA(TEST_PROBE_EXE, probe.c_str(), FALSE));
    EXPECT_EQ(RunProbe("", probe, "throw", current.path().c_str()),
              crashdump::kUncaughtCppException);
    EXPECT_TRUE(TempFolder::List(current.path()).empty());
    std::vector<std::string> dumps;
    for (const std::string& name : TempFolder::List(programs.path()))
        if (name.ends_with(".dmp")) dumps.push_back(name);
    ASSERT_EQ(dumps.size(), 1u);
    EXPECT_EQ(DumpedExceptionCode(ReadRaw(programs.File(dumps[0]))),
              crashdump::kUncaughtCppException);
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
