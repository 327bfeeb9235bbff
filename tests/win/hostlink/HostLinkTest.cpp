#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <ostream>
#include <vector>

#include "hostlink/HostLink.h"
#include "hostlink/HostMessages.h"

using namespace hostlink;

namespace {

// A posted message with its full parameters (64 bits on Win64).
struct Received {
    UINT message;
    uint64_t wParam, lParam;
    bool operator==(const Received&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Received& r) {
    return out << std::hex << r.message << "(" << r.wParam << ", " << r.lParam << ")";
}

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
            got.push_back({msg.message, msg.wParam, static_cast<ULONG_PTR>(msg.lParam)});
        }
        return got;
    }

  private:
    HWND m_wnd = nullptr;
};

}  // namespace

TEST(HostLink, PostsEveryMessageWithItsPackedParametersAndTheViewHandle) {
    FakeHostWindow host, view;
    ASSERT_NE(host.get(), nullptr);
    HostLink link(host.get());
    link.Attach(view.get(), nullptr);
    link.EditCountingLine({70000, 5}, {-1, 240});
    link.EditCountingLine({0xFFFF, 0}, {0x8000, 1});
    link.PatternFeatures();
    link.MeasureRegion({10, 20, 300, 220});
    link.DialogOpening(kDialogShowsBothPictures);
    link.DialogClosed();
    link.SetCountingLine({20, 30}, {300, 200});
    link.CalibrationChanged();
    link.CameraAngleSaved();
    link.CounterSettingsSaved();
    link.Detach();
    // 70000 keeps its low 16 bits; a high bit is not sign-extended into the upper half.
    const std::vector<Received> expected = {
        {WM_HOST_ATTACH, reinterpret_cast<uintptr_t>(view.get()), 0},
        {WM_HOST_EDIT_COUNTING_LINE, (4464u << 16) | 5u, 0xFFFF00F0u},
        {WM_HOST_EDIT_COUNTING_LINE, 0xFFFF0000u, 0x80000001u},
        {WM_HOST_PATTERN_FEATURES, 0, 0},
        {WM_HOST_MEASURE_REGION, (10u << 16) | 20u, (300u << 16) | 220u},
        {WM_HOST_DIALOG_STATE, 1, 2},
        {WM_HOST_DIALOG_STATE, 0, 1},
        {WM_HOST_SET_COUNTING_LINE, (20u << 16) | 30u, (300u << 16) | 200u},
        {WM_HOST_CALIBRATION_CHANGED, 0, 0},
        {WM_HOST_CAMERA_ANGLE_SAVED, 0, 0},
        {WM_HOST_COUNTER_SETTINGS_SAVED, 0, 0},
        {WM_HOST_DETACH, 0, 0}};
    EXPECT_EQ(host.Drain(), expected);
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

// Posting to a host window that has gone neither crashes nor reports; the
// host counts as gone only when its window was given and is no window.
TEST(HostLink, AVanishedHostIsGoneAndPostingToItIsSilent) {
    EXPECT_FALSE(HostLink().HostGone());  // no host window given: nothing has gone
    HWND gone;
    {
        FakeHostWindow host;
        ASSERT_NE(host.get(), nullptr);
        gone = host.get();
        EXPECT_FALSE(HostLink(host.get()).HostGone());
    }
    HostLink link(gone);
    EXPECT_TRUE(link.HostGone());
    link.CameraAngleSaved();
}
