#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <vector>

#include "hostlink/HostLink.h"
#include "hostlink/HostMessages.h"

using namespace hostlink;

namespace {

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A message-only window standing in for the host's main window.
class FakeHostWindow {
  public:
    FakeHostWindow() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "HostlinkTestHost";
        ::RegisterClassA(&wc);  // fails harmlessly when already registered
        m_wnd = ::CreateWindowExA(0, "HostlinkTestHost", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  wc.hInstance, nullptr);
    }
    ~FakeHostWindow() {
        if (m_wnd) ::DestroyWindow(m_wnd);
    }
    HWND get() const { return m_wnd; }

    // Everything posted to the window so far; posted messages are queued
    // before PostMessage returns, so one bounded sweep suffices.
    std::vector<Received> Drain() const {
        std::vector<Received> got;
        MSG msg;
        const DWORD deadline = ::GetTickCount() + 2000;
        while (::PeekMessageA(&msg, m_wnd, 0, 0, PM_REMOVE) && ::GetTickCount() < deadline) {
            got.push_back({msg.message, msg.wParam, msg.lParam});
        }
        return got;
    }

  private:
    HWND m_wnd = nullptr;
};

uint32_t Low32(WPARAM v) {
    return static_cast<uint32_t>(v);
}
uint32_t Low32(LPARAM v) {
    return static_cast<uint32_t>(v);
}

}  // namespace

TEST(HostLink, PostsEveryMessageWithItsPackedParameters) {
    FakeHostWindow host;
    ASSERT_NE(host.get(), nullptr);
    HostLink link(host.get());
    link.EditCountingLine({70000, 5}, {-1, 240});
    link.PatternFeatures();
    link.MeasureRegion({10, 20, 300, 220});
    link.DialogOpening(kDialogShowsBothPictures);
    link.DialogClosed();
    link.SetCountingLine({20, 30}, {300, 200});
    link.CalibrationChanged();
    link.CameraAngleSaved();
    link.CounterSettingsSaved();
    link.Detach();

    const std::vector<Received> got = host.Drain();
    ASSERT_EQ(got.size(), 10u);
    EXPECT_EQ(got[0].message, WM_HOST_EDIT_COUNTING_LINE);
    EXPECT_EQ(Low32(got[0].wParam), (4464u << 16) | 5u);  // 70000 keeps its low 16 bits
    EXPECT_EQ(Low32(got[0].lParam), 0xFFFF00F0u);
    EXPECT_EQ(got[1].message, WM_HOST_PATTERN_FEATURES);
    EXPECT_EQ(got[1].wParam, 0u);
    EXPECT_EQ(got[1].lParam, 0);
    EXPECT_EQ(got[2].message, WM_HOST_MEASURE_REGION);
    EXPECT_EQ(Low32(got[2].wParam), (10u << 16) | 20u);
    EXPECT_EQ(Low32(got[2].lParam), (300u << 16) | 220u);
    EXPECT_EQ(got[3].message, WM_HOST_DIALOG_STATE);
    EXPECT_EQ(got[3].wParam, 1u);
    EXPECT_EQ(got[3].lParam, 2);
    EXPECT_EQ(got[4].message, WM_HOST_DIALOG_STATE);
    EXPECT_EQ(got[4].wParam, 0u);
    EXPECT_EQ(got[4].lParam, 1);
    EXPECT_EQ(got[5].message, WM_HOST_SET_COUNTING_LINE);
    EXPECT_EQ(Low32(got[5].wParam), (20u << 16) | 30u);
    EXPECT_EQ(Low32(got[5].lParam), (300u << 16) | 200u);
    EXPECT_EQ(got[6].message, WM_HOST_CALIBRATION_CHANGED);
    EXPECT_EQ(got[7].message, WM_HOST_CAMERA_ANGLE_SAVED);
    EXPECT_EQ(got[8].message, WM_HOST_COUNTER_SETTINGS_SAVED);
    EXPECT_EQ(got[9].message, WM_HOST_DETACH);
    EXPECT_EQ(got[9].wParam, 0u);
    EXPECT_EQ(got[9].lParam, 0);
}

TEST(HostLink, HighBitOfAPackedValueIsNotSignExtended) {
    FakeHostWindow host;
    HostLink link(host.get());
    link.EditCountingLine({0xFFFF, 0}, {0x8000, 1});
    const std::vector<Received> got = host.Drain();
    ASSERT_EQ(got.size(), 1u);
    // The full parameter equals the 32-bit value: no stray upper bits on Win64.
    EXPECT_EQ(static_cast<uint64_t>(got[0].wParam), 0xFFFF0000ull);
    EXPECT_EQ(static_cast<uint64_t>(static_cast<ULONG_PTR>(got[0].lParam)), 0x80000001ull);
}

TEST(HostLink, AttachCarriesTheViewAndMainWindowHandles) {
    FakeHostWindow host;
    FakeHostWindow view;
    HostLink link(host.get());
    link.Attach(view.get(), nullptr);
    const std::vector<Received> got = host.Drain();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, WM_HOST_ATTACH);
    EXPECT_EQ(reinterpret_cast<HWND>(got[0].wParam), view.get());
    EXPECT_EQ(got[0].lParam, 0);
}

TEST(HostLink, WindowFromThirtyTwoBitValueFindsTheWindow) {
    FakeHostWindow host;
    const uint32_t value = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(host.get()));
    EXPECT_EQ(HostLink::WindowFromValue(value), host.get());
    EXPECT_EQ(HostLink::WindowFromValue(0), nullptr);
}

TEST(HostLink, WithoutAHostWindowNothingIsPosted) {
    HostLink link;
    link.Detach();
    link.EditCountingLine({1, 2}, {3, 4});
    link.Attach(nullptr, nullptr);
    MSG msg;
    // PostMessage(NULL, ...) would have queued a thread message.
    EXPECT_FALSE(::PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
}

TEST(HostLink, PostingToAVanishedHostIsSilent) {
    HWND gone;
    {
        FakeHostWindow host;
        gone = host.get();
    }
    HostLink link(gone);
    link.CameraAngleSaved();  // must neither crash nor report
    EXPECT_FALSE(::IsWindow(gone));
}
