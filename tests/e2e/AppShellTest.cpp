// The application shell as the host and a user see it: start-up with the
// host's command line, refused command lines, the stored window position and
// start-ups serialised by the start-up mutex.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "EndToEnd.h"
#include "framework/Handles.h"
#include "hostlink/HostMessages.h"
#include "res/Version.h"
#include "tools/hostsim/HostFixture.h"

namespace {

using hostsim::HostFixture;

using e2e::kApp;
constexpr char kFrameTitle[] = "Varanis - Tallyscope";
constexpr char kProfileKey[] = "Software\\Norlacy\\Varanix\\Tallyscope\\Setting";
constexpr DWORD kStartTimeout = 20000;

void SetStoredRect(const char* value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kProfileKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    if (value) {
        RegSetValueExA(key, "WindowRect", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                       static_cast<DWORD>(strlen(value) + 1));
    } else {
        RegDeleteValueA(key, "WindowRect");
    }
    RegCloseKey(key);
}

std::string StoredRect() {
    char value[256] = "";
    DWORD size = sizeof value - 1;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kProfileKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "";
    RegQueryValueExA(key, "WindowRect", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return value;
}

// Starts the program and returns its main window's place (all -1 when it never shows).
RECT StartAndPlace(HostFixture& host, HWND* frame) {
    RECT rect{-1, -1, -1, -1};
    if (!host.Launch(kApp)) return rect;
    *frame = host.FindTopWindow(kFrameTitle, "", kStartTimeout);
    if (*frame) GetWindowRect(*frame, &rect);
    return rect;
}

// Closes the program the way the system menu's Close does and waits for it.
std::optional<DWORD> CloseFrame(HostFixture& host, HWND frame) {
    PostMessageA(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
    return host.WaitForExit(kStartTimeout);
}

void ExpectRect(const RECT& rect, LONG left, LONG top, LONG right, LONG bottom) {
    EXPECT_EQ(rect.left, left);
    EXPECT_EQ(rect.top, top);
    EXPECT_EQ(rect.right, right);
    EXPECT_EQ(rect.bottom, bottom);
}

TEST(AppShell, FirstRunOpensAtTheTopLeftAndThePositionStoredOnCloseIsUsedNextTime) {
    SetStoredRect(nullptr);
    HWND frame = nullptr;
    {
        HostFixture host;
        ExpectRect(StartAndPlace(host, &frame), 0, 0, 850, 600);
        ASSERT_NE(frame, nullptr);
        // A borderless popup whose system menu can neither move nor size it.
        const LONG style = GetWindowLongA(frame, GWL_STYLE);
        EXPECT_TRUE(style & WS_POPUP);
        EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER));
        SetWindowPos(frame, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        const auto exitCode = CloseFrame(host, frame);
        ASSERT_TRUE(exitCode.has_value());
        EXPECT_EQ(*exitCode, 0u);
        ASSERT_TRUE(host.WaitForMessage(WM_HOST_DETACH, 5000));
        EXPECT_EQ(host.Messages().back().msg, WM_HOST_DETACH);
        EXPECT_EQ(StoredRect(), "40,30,890,630");
    }
    HostFixture host;
    ExpectRect(StartAndPlace(host, &frame), 40, 30, 890, 630);
    ASSERT_TRUE(CloseFrame(host, frame).has_value());
    EXPECT_EQ(StoredRect(), "40,30,890,630");
}

// Which stored places fall back is WindowRectTest's; here the real screen's
// right edge decides.
TEST(AppShell, StoredPositionOnTheScreensRightEdgeFallsBack) {
    const int screenRight = GetSystemMetrics(SM_CXSCREEN);
    SetStoredRect(
        (std::to_string(screenRight - 850) + ",50," + std::to_string(screenRight) + ",650")
            .c_str());
    HostFixture host;
    HWND frame = nullptr;
    ExpectRect(StartAndPlace(host, &frame), 0, 0, 850, 600);
    ASSERT_TRUE(CloseFrame(host, frame).has_value());
}

// Which host windows are refused is CommandLineTest's; here what the host sees.
TEST(AppShell, RefusedHostWindowShowsItsMessageAndNeverAttaches) {
    HostFixture host;
    const std::string line =
        "setting=\"" + host.SettingsFolder() + "\" camera=1 hwnd=xyz lang=English.ini";
    ASSERT_TRUE(host.LaunchRaw(kApp, line));
    const auto box = host.FindMessageBox(kStartTimeout);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, "Tallyscope");
    EXPECT_EQ(box->text, "Invalidate Command!");
    EXPECT_EQ(HostFixture::FindTopWindow(host.ProcessId(), kFrameTitle, "", 0), nullptr);
    // The host's wait for the attach runs out; without a view it cannot ask for a close.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(host.WaitForAttach(1500), nullptr);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1400));
    EXPECT_FALSE(host.Close(0));
    EXPECT_TRUE(HostFixture::DismissMessageBox(box->hwnd));
    const auto exitCode = host.WaitForExit(kStartTimeout);
    ASSERT_TRUE(exitCode.has_value());
    EXPECT_NE(*exitCode, 0u);
    EXPECT_FALSE(host.FileExists("Setting01.ini"));
    EXPECT_EQ(host.Count(WM_HOST_ATTACH), 0u);
}

TEST(AppShell, HugeAndStrangeCommandLinesNeverCrashTheProgram) {
    HostFixture host;
    char hwnd[32];
    snprintf(hwnd, sizeof hwnd, "%llx",
             static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(host.HostHwnd())));
    const std::string line = "setting=\"" + host.SettingsFolder() + "\" camera=2 hwnd=" + hwnd +
                             " lang=" + std::string(3000, 'x') + ".ini camera=9 \xE9\xFF";
    ASSERT_TRUE(host.LaunchRaw(kApp, line));
    HWND frame = host.FindTopWindow(kFrameTitle, "", kStartTimeout);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(host.Running());
    ASSERT_TRUE(CloseFrame(host, frame).has_value());
}

TEST(AppShell, StartUpWaitsForTheStartUpMutex) {
    // A copy that is still starting holds the mutex: the next one must wait.
    HANDLE mutex = CreateMutexA(nullptr, TRUE, "Tallyscope_Instance_Protection");
    ASSERT_NE(mutex, nullptr);
    HostFixture host;
    ASSERT_TRUE(host.Launch(kApp, 3));
    EXPECT_EQ(host.FindTopWindow(kFrameTitle, "", 2000), nullptr);
    ReleaseMutex(mutex);
    CloseHandle(mutex);
    HWND frame = host.FindTopWindow(kFrameTitle, "", kStartTimeout);
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(CloseFrame(host, frame).has_value());
}

TEST(AppShell, TwoCopiesStartedTogetherBothComeUp) {
    HostFixture first;
    HostFixture second;
    ASSERT_TRUE(first.Launch(kApp, 1));
    ASSERT_TRUE(second.Launch(kApp, 2));
    HWND frame1 = first.FindTopWindow(kFrameTitle, "", kStartTimeout);
    HWND frame2 = second.FindTopWindow(kFrameTitle, "", kStartTimeout);
    ASSERT_NE(frame1, nullptr);
    ASSERT_NE(frame2, nullptr);
    EXPECT_NE(frame1, frame2);
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(second.Running());
    ASSERT_TRUE(CloseFrame(first, frame1).has_value());
    ASSERT_TRUE(CloseFrame(second, frame2).has_value());
}

}  // namespace

// The release archive unpacked into an empty folder is a whole program.
TEST(ReleaseArchive, UnpackedProgramRunsAgainstTheHost) {
    hostsim::HostFixture host;
    ASSERT_TRUE(host.Launch(TALLYSCOPE_UNPACKED_APP_EXE, 3));
    ASSERT_NE(host.WaitForAttach(20000), nullptr);
    EXPECT_NE(host.FindTopWindow("Varanis - Tallyscope", "", 20000), nullptr);
    const auto code = host.Close(20000);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(host.Messages().back().msg, WM_HOST_DETACH);
    EXPECT_TRUE(host.FileExists("Setting03.ini"));
}

// The program file as a Windows user gets it from the archive: its version in
// the file's properties, and its manifest (themed common controls, no
// execution level).
TEST(ReleaseArchive, TheProgramFileCarriesItsVersionAndItsManifest) {
    const char* exe = TALLYSCOPE_UNPACKED_APP_EXE;
    DWORD ignored = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(exe, &ignored));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoA(exe, 0, static_cast<DWORD>(info.size()), info.data()));
    for (const char* key : {"FileVersion", "ProductVersion"}) {
        char* value = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(info.data(),
                                   (std::string("\\StringFileInfo\\040904b0\\") + key).c_str(),
                                   reinterpret_cast<void**>(&value), &length));
        EXPECT_STREQ(value, TALLYSCOPE_VERSION_TEXT) << key;
    }
    ModuleHandle module(LoadLibraryExA(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module.valid());
    HRSRC found = FindResourceA(module.get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr);
    const std::string manifest(
        static_cast<const char*>(LockResource(LoadResource(module.get(), found))),
        SizeofResource(module.get(), found));
    EXPECT_NE(manifest.find(R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")"),
              std::string::npos);
    EXPECT_NE(manifest.find("supportedOS"), std::string::npos);
    EXPECT_EQ(manifest.find("requestedExecutionLevel"), std::string::npos);
}
