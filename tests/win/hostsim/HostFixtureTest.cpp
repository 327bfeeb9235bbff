// The host fixture inside one process: message log, settings folder, program
// launch and exit codes, message boxes and screen capture.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "hostlink/HostMessages.h"
#include "tools/hostsim/HostFixture.h"

using hostsim::HostFixture;
using hostsim::HostMessage;
using hostsim::HostWindow;

namespace {

std::string SystemProgram(const char* name) {
    char folder[MAX_PATH] = {};
    ::GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\" + name;
}

bool ProcessAlive(DWORD pid) {
    KernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, pid));
    return process && ::WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

void PumpFor(DWORD ms) {
    const DWORD start = ::GetTickCount();
    MSG msg;
    while (::GetTickCount() - start < ms) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        ::Sleep(10);
    }
}

}  // namespace

TEST(HostWindow, RecordsAppMessagesInOrderWithFullParameters) {
    HostWindow host;
    ASSERT_TRUE(host.valid());
    const auto big = static_cast<WPARAM>(0x0000000180000002ull);  // more than 32 bits on Win64
    ASSERT_TRUE(::PostMessageA(host.hwnd(), WM_HOST_ATTACH, big, 7));
    ASSERT_TRUE(::PostMessageA(host.hwnd(), WM_USER + 5, 1, 1));  // outside the app range
    ASSERT_TRUE(::PostMessageA(host.hwnd(), 0xC000 + 1, 1, 1));   // registered-message range
    ASSERT_TRUE(::PostMessageA(host.hwnd(), WM_HOST_DIALOG_STATE, 1, 2));
    ASSERT_TRUE(::PostMessageA(host.hwnd(), WM_HOST_DIALOG_STATE, 0, 1));
    ASSERT_TRUE(host.WaitForCount(WM_HOST_DIALOG_STATE, 2, 5000));
    const auto messages = host.Messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(host.MessageCount(), 3u);
    EXPECT_EQ(messages[0].msg, WM_HOST_ATTACH);
    EXPECT_EQ(messages[0].wParam, static_cast<std::uint64_t>(big));
    EXPECT_EQ(messages[0].lParam, 7u);
    EXPECT_EQ(messages[1].wParam, 1u);
    EXPECT_EQ(messages[1].lParam, 2u);
    EXPECT_EQ(messages[2].wParam, 0u);
    EXPECT_LE(messages[0].time, messages[1].time);
    EXPECT_LE(messages[1].time, messages[2].time);
}

TEST(HostWindow, WaitSearchesFromTheGivenIndexAndTimesOut) {
    HostWindow host;
    ::PostMessageA(host.hwnd(), WM_HOST_SET_COUNTING_LINE, 1, 1);
    ::PostMessageA(host.hwnd(), WM_HOST_COUNTER_SETTINGS_SAVED, 0, 0);
    ::PostMessageA(host.hwnd(), WM_HOST_SET_COUNTING_LINE, 2, 2);
    ASSERT_TRUE(host.WaitForCount(WM_HOST_SET_COUNTING_LINE, 2, 5000));
    auto first = host.WaitForMessage(WM_HOST_SET_COUNTING_LINE, 0);
    auto second = host.WaitForMessage(WM_HOST_SET_COUNTING_LINE, 0, 1);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->wParam, 1u);
    EXPECT_EQ(second->wParam, 2u);
    EXPECT_FALSE(host.WaitForMessage(WM_HOST_SET_COUNTING_LINE, 0, 3));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(host.WaitForMessage(WM_HOST_ATTACH, 300));
    EXPECT_FALSE(host.WaitForCount(WM_HOST_ATTACH, 1, 100));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(390));
    EXPECT_LT(waited, std::chrono::seconds(5));
}

TEST(HostWindow, ManyPostersLoseNothing) {
    HostWindow host;
    constexpr int kThreads = 4;
    constexpr int kEach = 200;
    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t)
        posters.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i)
                ::PostMessageA(host.hwnd(), WM_HOST_EDIT_COUNTING_LINE, t, i);
        });
    for (auto& p : posters) p.join();
    ASSERT_TRUE(host.WaitForCount(WM_HOST_EDIT_COUNTING_LINE, kThreads * kEach, 10000));
    // Each poster's messages keep their order.
    std::vector<int> next(kThreads, 0);
    for (const auto& m : host.Messages()) {
        ASSERT_LT(m.wParam, static_cast<std::uint64_t>(kThreads));
        EXPECT_EQ(m.lParam, static_cast<std::uint64_t>(next[m.wParam]++));
    }
}

TEST(HostFixtureFolder, IsUniqueWritableAndRemovedAfterwards) {
    std::string folder;
    {
        HostFixture a;
        HostFixture b;
        folder = a.SettingsFolder();
        ASSERT_FALSE(folder.empty());
        EXPECT_NE(folder, b.SettingsFolder());
        EXPECT_NE(folder.back(), '\\');
        EXPECT_EQ(a.SettingsFile(7), folder + "\\Setting07.ini");
        EXPECT_EQ(a.SettingsFile(123), folder + "\\Setting123.ini");
        const std::string bytes("a\0b\r\nc", 6);
        ASSERT_TRUE(a.WriteFile("Data.bin", bytes));
        EXPECT_TRUE(a.FileExists("Data.bin"));
        EXPECT_EQ(a.ReadFile("Data.bin"), bytes);
        EXPECT_FALSE(a.ReadFile("Missing.bin"));
        EXPECT_FALSE(b.FileExists("Data.bin"));
        ASSERT_TRUE(a.WriteIni("Setting01.ini", "Camera Angle", "Height", "240.0"));
        EXPECT_EQ(a.ReadIni("Setting01.ini", "camera angle", "HEIGHT"), "240.0");
        EXPECT_EQ(a.ReadIni("Setting01.ini", "Camera Angle", "Angle YZ", "none"), "none");
        ASSERT_TRUE(::CreateDirectoryA((folder + "\\Sub").c_str(), nullptr));
        ASSERT_TRUE(a.WriteFile("Sub\\Inner.txt", "x"));
    }
    EXPECT_EQ(::GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(HostFixtureLaunch, ReportsTheExitCodeAndRefusesAMissingProgram) {
    HostFixture fixture;
    EXPECT_FALSE(fixture.LaunchRaw("C:\\no\\such\\program.exe", ""));
    EXPECT_FALSE(fixture.WaitForExit(0));
    EXPECT_FALSE(fixture.Running());
    ASSERT_TRUE(fixture.LaunchRaw(SystemProgram("cmd.exe"), "/c exit 7"));
    EXPECT_NE(fixture.ProcessId(), 0u);
    auto code = fixture.WaitForExit(30000);
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 7u);
    EXPECT_FALSE(fixture.Running());
}

// One program at a time; Kill and the destructor both end it.
TEST(HostFixtureLaunch, FindsKillsAndOnDestructionEndsARunningProgram) {
    DWORD pid = 0;
    {
        HostFixture fixture;
        ASSERT_TRUE(fixture.LaunchRaw(SystemProgram("notepad.exe"), ""));
        ASSERT_NE(fixture.FindTopWindow("", "Notepad", 30000), nullptr);
        EXPECT_EQ(HostFixture::FindTopWindow(fixture.ProcessId(), "", "NoSuchClass", 0), nullptr);
        EXPECT_FALSE(fixture.WaitForExit(100));
        EXPECT_FALSE(fixture.LaunchRaw(SystemProgram("cmd.exe"), "/c exit 0"));
        fixture.Kill();
        EXPECT_FALSE(fixture.Running());
        EXPECT_TRUE(fixture.WaitForExit(0));
        ASSERT_TRUE(fixture.LaunchRaw(SystemProgram("notepad.exe"), ""));
        pid = fixture.ProcessId();
        ASSERT_TRUE(ProcessAlive(pid));
    }
    EXPECT_FALSE(ProcessAlive(pid));
}

TEST(HostFixtureWindows, FindsReadsAndDismissesAMessageBox) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(HostFixture::FindMessageBox(::GetCurrentProcessId(), 200));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_FALSE(HostFixture::FindMessageBox(0, 0));
    std::atomic<int> answer{-1};
    std::thread box([&] {
        answer = ::MessageBoxA(nullptr, "Invalidate Command!", "Tallyscope", MB_OK | MB_ICONSTOP);
    });
    auto info = HostFixture::FindMessageBox(::GetCurrentProcessId(), 10000);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->caption, "Tallyscope");
    EXPECT_EQ(info->text, "Invalidate Command!");
    EXPECT_TRUE(HostFixture::DismissMessageBox(info->hwnd, 5000));
    box.join();
    EXPECT_EQ(answer.load(), IDOK);
}

LRESULT CALLBACK TwoColourProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PaintDc dc(hwnd);
        BrushHandle blue(::CreateSolidBrush(RGB(0, 0, 255)));
        BrushHandle red(::CreateSolidBrush(RGB(255, 0, 0)));
        RECT left{0, 0, 32, 48};
        RECT right{32, 0, 64, 48};
        ::FillRect(dc.get(), &left, blue.get());
        ::FillRect(dc.get(), &right, red.get());
        return 0;
    }
    if (msg == WM_ERASEBKGND) return 1;
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST(HostFixtureWindows, CapturesWhatIsOnTheScreen) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &TwoColourProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "HostsimTwoColour";
    ::RegisterClassA(&wc);
    HWND window = ::CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 40,
                                    50, 64, 48, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    ::UpdateWindow(window);
    // Wine hands window drawing to X asynchronously: let it arrive, then look.
    hostsim::Capture capture;
    for (int attempt = 0; attempt < 100; ++attempt) {
        PumpFor(50);
        capture = HostFixture::CaptureWindow(window);
        if (capture.Pixel(5, 5) == RGB(0, 0, 255)) break;
    }
    ::DestroyWindow(window);
    ASSERT_EQ(capture.width, 64);
    ASSERT_EQ(capture.height, 48);
    EXPECT_EQ(capture.Pixel(5, 5), RGB(0, 0, 255));
    EXPECT_EQ(capture.Pixel(31, 47), RGB(0, 0, 255));
    EXPECT_EQ(capture.Pixel(32, 0), RGB(255, 0, 0));
    EXPECT_EQ(capture.Pixel(63, 47), RGB(255, 0, 0));
    EXPECT_EQ(capture.Pixel(64, 0), CLR_INVALID);
    EXPECT_EQ(capture.Pixel(-1, 0), CLR_INVALID);
    EXPECT_TRUE(HostFixture::CaptureWindow(nullptr).empty());
}

TEST(HostFixtureView, PostingNeedsAnAttachedView) {
    HostFixture fixture;
    EXPECT_FALSE(fixture.PostToView(WM_VIEW_CLOSE, 0, 0));
    EXPECT_FALSE(fixture.Close(0));
    // An attach message names the view; posting then reaches that window.
    HostWindow view;
    ::PostMessageA(fixture.HostHwnd(), WM_HOST_ATTACH, reinterpret_cast<WPARAM>(view.hwnd()), 0);
    EXPECT_EQ(fixture.WaitForAttach(5000), view.hwnd());
    EXPECT_TRUE(fixture.PostToView(WM_VIEW_MARKER_RECT, 0x000A0014, 0x0064006E));
    auto marker = view.WaitForMessage(WM_VIEW_MARKER_RECT, 5000);
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->wParam, 0x000A0014u);
    EXPECT_EQ(marker->lParam, 0x0064006Eu);
    EXPECT_TRUE(fixture.SendToView(WM_VIEW_COUNTER_RECT, 1, 2));
    EXPECT_TRUE(view.WaitForMessage(WM_VIEW_COUNTER_RECT, 5000));
}
