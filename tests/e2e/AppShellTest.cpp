// The application shell as the host and a user see it: start-up with the
// host's command line, refused command lines and the stored window position
// (start-ups waiting on the start-up mutex: ManyCamerasTest).
#include <windows.h>

#include <gtest/gtest.h>

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
using e2e::kTimeout;
constexpr char kFrameTitle[] = "Varanis - Tallyscope";

// Starts the program and returns its main window's place, as the registry
// keeps it ("" when it never shows).
std::string StartAndPlace(HostFixture& host, HWND* frame) {
    RECT rect{};
    if (!host.Launch(kApp)) return "";
    *frame = host.FindTopWindow(kFrameTitle, "", kTimeout);
    if (!*frame || !GetWindowRect(*frame, &rect)) return "";
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

// Closes the program the way the system menu's Close does and waits for it.
std::optional<DWORD> CloseFrame(HostFixture& host, HWND frame) {
    PostMessageA(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
    return host.WaitForExit(kTimeout);
}

// Which stored places fall back is WindowRectTest's; here the real screen's
// right edge decides, and the user's close stores the place.
TEST(AppShell, FirstRunOpensAtTheTopLeftAndThePositionStoredOnCloseIsUsedNextTime) {
    e2e::StoreWindowRect(nullptr);
    HWND frame = nullptr;
    {
        HostFixture host;
        EXPECT_EQ(StartAndPlace(host, &frame), "0,0,850,600");
        ASSERT_NE(frame, nullptr);
        // A borderless popup whose system menu can neither move nor size it.
        const LONG style = GetWindowLongA(frame, GWL_STYLE);
        EXPECT_TRUE(style & WS_POPUP);
        EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER));
        SetWindowPos(frame, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        const auto exitCode = CloseFrame(host, frame);
        ASSERT_TRUE(exitCode.has_value());
        EXPECT_EQ(*exitCode, 0u);
        ASSERT_FALSE(host.Messages().empty());
        EXPECT_EQ(host.Messages().back().msg, WM_HOST_DETACH);
        EXPECT_EQ(e2e::StoredWindowRect(), "40,30,890,630");
    }
    {
        HostFixture host;
        EXPECT_EQ(StartAndPlace(host, &frame), "40,30,890,630");
        ASSERT_TRUE(CloseFrame(host, frame).has_value());
        EXPECT_EQ(e2e::StoredWindowRect(), "40,30,890,630");
    }
    const int screenRight = GetSystemMetrics(SM_CXSCREEN);
    e2e::StoreWindowRect(
        (std::to_string(screenRight - 850) + ",50," + std::to_string(screenRight) + ",650")
            .c_str());
    HostFixture host;
    EXPECT_EQ(StartAndPlace(host, &frame), "0,0,850,600");
    ASSERT_TRUE(CloseFrame(host, frame).has_value());
}

// Which host windows are refused is CommandLineTest's; here what the host sees.
TEST(AppShell, RefusedHostWindowShowsItsMessageAndNeverAttaches) {
    HostFixture host;
    const std::string line =
        "setting=\"" + host.SettingsFolder() + "\" camera=1 hwnd=xyz lang=English.ini";
    ASSERT_TRUE(host.LaunchRaw(kApp, line));
    const auto box = host.FindMessageBox(kTimeout);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, "Tallyscope");
    EXPECT_EQ(box->text, "Invalidate Command!");
    EXPECT_EQ(HostFixture::FindTopWindow(host.ProcessId(), kFrameTitle, "", 0), nullptr);
    EXPECT_EQ(host.WaitForAttach(1500), nullptr);
    EXPECT_TRUE(HostFixture::DismissMessageBox(box->hwnd));
    const auto exitCode = host.WaitForExit(kTimeout);
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
    HWND frame = host.FindTopWindow(kFrameTitle, "", kTimeout);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(host.Running());
    ASSERT_TRUE(CloseFrame(host, frame).has_value());
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
