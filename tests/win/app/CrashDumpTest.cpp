// The crash-dump writer in a process that really crashes.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "app/CrashDump.h"
#include "support/UniqueFolder.h"

namespace {

std::string MakeTempFolder() {
    return CreateUniqueTempFolder("tsc-crash") + "\\";
}

std::vector<std::string> DumpFiles(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "*.dmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs the crashing probe and returns its exit code.
DWORD RunProbe(const std::string& folder, const std::string& probe = TEST_PROBE_EXE) {
    // The folder goes without its last backslash, which would escape the closing quote.
    const std::string bare = folder.substr(0, folder.size() - 1);
    std::string command = "\"" + probe + "\" \"" + bare + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return 0xFFFFFFFF;
    }
    const DWORD waited = WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 0xFFFFFFFE;
    if (waited == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    } else {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

// A copy of the probe under its own name, for which Wine's per-program DLL
// setting (an empty load order) disables the debug-help library, as on a
// machine without it. The probe itself stays untouched, so tests can run
// side by side.
class ProbeWithoutDebugHelp {
  public:
    explicit ProbeWithoutDebugHelp(const std::string& folder) : m_path(folder + kName) {
        CopyFileA(TEST_PROBE_EXE, m_path.c_str(), FALSE);
        const std::string key =
            std::string("Software\\Wine\\AppDefaults\\") + kName + "\\DllOverrides";
        RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &m_key,
                        nullptr);
        if (m_key)
            RegSetValueExA(m_key, "dbghelp", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    }
    ~ProbeWithoutDebugHelp() {
        if (m_key) RegCloseKey(m_key);
        DeleteFileA(m_path.c_str());
    }
    bool ok() const {
        return m_key != nullptr && GetFileAttributesA(m_path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    const std::string& path() const { return m_path; }

  private:
    static constexpr char kName[] = "crash_probe_without_dbghelp.exe";
    std::string m_path;
    HKEY m_key = nullptr;
};

TEST(CrashDump, CrashLeavesAMinidumpNamedAfterTheProgramAndTheMoment) {
    const std::string folder = MakeTempFolder();
    const DWORD code = RunProbe(folder);
    EXPECT_NE(code, 0u);
    const auto files = DumpFiles(folder);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(
        std::regex_match(files[0], std::regex(R"(TallyscopeSettingAppEXE-\d{8}-\d{6}\.dmp)")))
        << files[0];
    const std::string dump = ReadAll(folder + files[0]);
    ASSERT_GT(dump.size(), 32u);
    EXPECT_EQ(dump.substr(0, 4), "MDMP");
}

TEST(CrashDump, WithoutTheDebugHelpLibraryTheReasonIsLeftInTheFile) {
    const std::string folder = MakeTempFolder();
    ProbeWithoutDebugHelp probe(folder);
    ASSERT_TRUE(probe.ok());
    RunProbe(folder, probe.path());
    const auto files = DumpFiles(folder);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(ReadAll(folder + files[0]), "DBGHELP.DLL not found");
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
