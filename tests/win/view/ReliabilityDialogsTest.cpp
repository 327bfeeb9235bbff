// Every dialog of the settings menu opened and closed over and over while the
// stand-in host streams live pictures (and rectified ones while a picture
// dialog is open): the process's GDI objects, windows, menus, kernel handles
// and resident memory stay flat. The view runs in this process because GDI
// and USER objects can only be counted from inside under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "framework/FrameWnd.h"
#include "framework/WinApp.h"
#include "res/Resource.h"
#include "tests/support/DialogSteps.h"
#include "tests/support/RunLength.h"
#include "tools/hostsim/ProcessUsage.h"
#include "tests/win/support/UiTest.h"
#include "tools/hostsim/HostFixture.h"
#include "tools/hostsim/Simulator.h"
#include "view/ChildView.h"
#include "ViewFrame.h"

namespace {

constexpr DWORD kTimeout = 20000;
constexpr int kCamera = 3;

using testsupport::DialogStep;
using testsupport::kDialogSteps;

template <typename F>
bool PollFor(F done, DWORD timeoutMs = kTimeout) {
    for (const DWORD start = ::GetTickCount(); !done(); ::Sleep(20))
        if (::GetTickCount() - start >= timeoutMs) return done();
    return true;
}

// Plays the user from a second thread while this one runs the dialogs'
// modal loops: waits for the step's dialog, goes through it and closes it.
bool CloseFromOutside(DWORD uiThread, const DialogStep& step) {
    HWND dialog = nullptr;
    if (!PollFor(
            [&] { return (dialog = uitest::FindThreadDialog(uiThread, step.title)) != nullptr; }))
        return false;
    if (step.withTips) {
        HWND link = ::GetDlgItem(dialog, IDC_CS_TIPS_LINK);
        ::PostMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        ::PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        HWND tips = nullptr;
        if (!PollFor([&] {
                return (tips = uitest::FindThreadDialog(uiThread, "Setup Tips")) != nullptr;
            }))
            return false;
        ::PostMessageA(tips, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        if (!PollFor([&] { return !::IsWindow(tips); })) return false;
    }
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(step.closeWith, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, step.closeWith)));
    return PollFor([&] { return !::IsWindowVisible(dialog); });
}

struct Usage {
    int gdi = 0;
    hostsim::UserObjects user;
    long long kernelHandles = 0;
    long long residentKiB = 0;
};

Usage Measure() {
    Usage usage;
    usage.gdi = hostsim::GdiObjectsOfThisProcess();
    usage.user = hostsim::UserObjectsOfThisProcess();
    usage.kernelHandles = hostsim::KernelHandlesOf(::GetCurrentProcessId());
    usage.residentKiB = hostsim::ResidentBytesOf(::GetCurrentProcess()) / 1024;
    return usage;
}

TEST(ReliabilityDialogs, EveryDialogOpenedAndClosedWithLivePicturesLeavesNothingBehind) {
    // Wine and GDI+ fill caches over the first two rounds (about 260 GDI
    // objects, then 26 more), and one more cache of about 14 objects fills
    // whenever the pictures' timing first calls for it: a cache grows once, a
    // leak grows round after round.
    constexpr int kWarmUpRounds = 2;
    const int rounds = testsupport::ShortOrLong(kWarmUpRounds + 2, 100);
    TempFolder settings;
    std::string moduleFolder = TALLYSCOPE_RESOURCES_DIR;
    moduleFolder.erase(moduleFolder.size() - std::string("resources").size());

    hostsim::HostWindow host;
    ASSERT_TRUE(host.valid());
    hostsim::Simulator sim(host, settings.File("Setting03.ini"),
                           hostsim::DefaultScene(hostsim::CameraModel{}));
    ASSERT_TRUE(sim.BlocksReady());
    ViewFrame frame(
        ViewStartup{moduleFolder, settings.path(), kCamera, host.hwnd(), "English.ini"});
    AfxGetApp()->m_pMainWnd = &frame;
    const RECT rect{0, 0, 850, 600};
    ASSERT_TRUE(frame.Create(nullptr, "soak frame", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, rect));
    ASSERT_TRUE(uitest::PumpUntil([&] { return sim.Snapshot().attached; }, kTimeout));
    sim.StartStreaming(15);

    const DWORD uiThread = ::GetCurrentThreadId();
    HWND view = frame.m_view.m_hWnd;
    std::vector<Usage> measured;  // after the warm-up and after every later round
    for (int round = 0; round < rounds; ++round) {
        for (const DialogStep& step : kDialogSteps) {
            SCOPED_TRACE(step.command);
            std::atomic<bool> closed{step.title == nullptr};
            std::atomic<bool> failed{false};
            std::thread user;
            if (step.title)
                user = std::thread([&] {
                    failed = !CloseFromOutside(uiThread, step);
                    closed = true;
                });
            ::PostMessageA(view, WM_COMMAND, step.command, 0);
            const bool done = uitest::PumpUntil([&] { return closed.load(); }, 2 * kTimeout);
            if (user.joinable()) user.join();
            ASSERT_TRUE(done && !failed);
        }
        // Each dialog's close holds this thread for two seconds under Wine, so
        // the main view's pictures get a stretch of their own.
        const auto shown = sim.Snapshot().liveFrames;
        ASSERT_TRUE(
            uitest::PumpUntil([&] { return sim.Snapshot().liveFrames >= shown + 15; }, kTimeout));
        if (round + 1 >= kWarmUpRounds) measured.push_back(Measure());
    }
    ASSERT_GE(measured.size(), 3u);
    const Usage& warm = measured.front();
    const Usage& end = measured.back();
    const auto state = sim.Snapshot();
    sim.StopStreaming();
    frame.DestroyWindow();
    AfxGetApp()->m_pMainWnd = nullptr;

    std::printf(
        "%d rounds of every dialog, %llu live and %llu rectified pictures: after the warm-up "
        "%d GDI objects, %d windows, %d menus, %lld kernel handles, %lld KiB resident; at the end "
        "%d, %d, %d, %lld, %lld KiB\n",
        rounds, static_cast<unsigned long long>(state.liveFrames),
        static_cast<unsigned long long>(state.rectifiedFrames), warm.gdi, warm.user.windows,
        warm.user.menus, warm.kernelHandles, warm.residentKiB, end.gdi, end.user.windows,
        end.user.menus, end.kernelHandles, end.residentKiB);
    EXPECT_GT(state.liveFrames, 0u);
    EXPECT_GT(state.rectifiedFrames, 0u);
    // GDI objects: a cache may grow once and by a few dozen at most; a leak of
    // one object per dialog grows every round.
    std::size_t growing = 0;
    for (std::size_t i = 1; i < measured.size(); ++i) {
        const int grown = measured[i].gdi - measured[i - 1].gdi;
        EXPECT_LE(grown, 30) << "round " << kWarmUpRounds + i;
        growing += grown > 0;
    }
    EXPECT_LT(growing, measured.size() - 1) << "GDI objects grew in every round";
    EXPECT_LE(end.user.total(), warm.user.total());
    EXPECT_LE(end.kernelHandles, warm.kernelHandles + 2);
    EXPECT_LE(end.residentKiB, warm.residentKiB + 4096);
}

}  // namespace
