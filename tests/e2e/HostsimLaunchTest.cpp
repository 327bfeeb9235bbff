// The stand-in host's own paths with the real program: launch with the host's
// command line, attach, message log, close from the host, a refused command
// line and a program that never attaches.
#include <gtest/gtest.h>

#include <chrono>

#include "hostlink/HostMessages.h"
#include "tools/hostsim/HostFixture.h"

using hostsim::HostFixture;

namespace {

constexpr DWORD kStartTimeoutMs = 30000;  // a cold Wine start of the program
constexpr DWORD kExitTimeoutMs = 30000;

std::size_t IndexOf(const std::vector<hostsim::HostMessage>& log, UINT msg) {
    for (std::size_t i = 0; i < log.size(); ++i)
        if (log[i].msg == msg) return i;
    return log.size();
}

}  // namespace

TEST(HostsimLaunch, ProgramAttachesAndClosesWhenTheHostSaysSo) {
    HostFixture host;
    ASSERT_TRUE(host.Launch(TALLYSCOPE_APP_EXE, 3, "English.ini"));
    HWND view = host.WaitForAttach(kStartTimeoutMs);
    ASSERT_NE(view, nullptr) << "no WM_HOST_ATTACH from the program";
    EXPECT_TRUE(::IsWindow(view));
    DWORD viewProcess = 0;
    ::GetWindowThreadProcessId(view, &viewProcess);
    EXPECT_EQ(viewProcess, host.ProcessId());
    // lParam names the main window, the view's top-level ancestor.
    const auto attach = host.WaitForMessage(WM_HOST_ATTACH, 0);
    ASSERT_TRUE(attach);
    HWND mainWindow = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(attach->lParam));
    EXPECT_EQ(::GetAncestor(view, GA_ROOT), mainWindow);

    // The camera's settings file was created in the host's folder.
    EXPECT_TRUE(host.FileExists("Setting03.ini"));

    const auto code = host.Close(kExitTimeoutMs);
    ASSERT_TRUE(code) << "program did not end after WM_VIEW_CLOSE";
    EXPECT_EQ(*code, 0u);
    ASSERT_TRUE(host.WaitForMessage(WM_HOST_DETACH, 5000));
    const auto log = host.Messages();
    EXPECT_EQ(IndexOf(log, WM_HOST_ATTACH), 0u);
    EXPECT_LT(IndexOf(log, WM_HOST_ATTACH), IndexOf(log, WM_HOST_DETACH));
    EXPECT_EQ(host.Count(WM_HOST_ATTACH), 1u);
    EXPECT_EQ(host.Count(WM_HOST_DETACH), 1u);
}

TEST(HostsimLaunch, MainWindowIsShownAndCanBeCaptured) {
    HostFixture host;
    ASSERT_TRUE(host.Launch(TALLYSCOPE_APP_EXE, 1, "English.ini"));
    ASSERT_NE(host.WaitForAttach(kStartTimeoutMs), nullptr);
    HWND frame = host.FindTopWindow("Varanis - Tallyscope", "", 10000);
    ASSERT_NE(frame, nullptr);
    const auto capture = HostFixture::CaptureWindow(frame);
    RECT rect{};
    ::GetWindowRect(frame, &rect);
    EXPECT_EQ(capture.width, rect.right - rect.left);
    EXPECT_EQ(capture.height, rect.bottom - rect.top);
    EXPECT_FALSE(capture.empty());
    EXPECT_TRUE(host.Close(kExitTimeoutMs));
}

TEST(HostsimLaunch, RefusedCommandLineShowsItsMessageAndNeverAttaches) {
    HostFixture host;
    const std::string arguments =
        "setting=\"" + host.SettingsFolder() + "\" camera=2 hwnd=0 lang=English.ini";
    ASSERT_TRUE(host.LaunchRaw(TALLYSCOPE_APP_EXE, arguments));
    auto box = host.FindMessageBox(kStartTimeoutMs);
    ASSERT_TRUE(box) << "no message box for hwnd=0";
    EXPECT_EQ(box->caption, "Tallyscope");
    EXPECT_EQ(box->text, "Invalidate Command!");
    EXPECT_TRUE(HostFixture::DismissMessageBox(box->hwnd));
    EXPECT_TRUE(host.WaitForExit(kExitTimeoutMs));
    EXPECT_EQ(host.Count(WM_HOST_ATTACH), 0u);
}

TEST(HostsimLaunch, AProgramThatNeverAttachesTimesOutAndIsEnded) {
    HostFixture host;
    // hwnd=xyz leaves the program in its refusal box: it never attaches.
    ASSERT_TRUE(host.LaunchRaw(TALLYSCOPE_APP_EXE, "camera=1 hwnd=xyz lang=English.ini"));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(host.WaitForAttach(1500), nullptr);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1400));
    EXPECT_FALSE(host.Close(0));  // no view to ask
    host.Kill();
    EXPECT_FALSE(host.Running());
    EXPECT_TRUE(host.WaitForExit(0));
}
