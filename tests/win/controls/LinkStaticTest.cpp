#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "ControlsTestDialog.h"
#include "hostlink/HostMessages.h"
#include "tests/win/support/UiTest.h"

namespace {

using uitest::Capture;
using uitest::CaptureClient;

LPARAM At(int x, int y) {
    return MAKELPARAM(x, y);
}

// The dark pixels (text and underline) of a capture.
struct Ink {
    int pixels = 0;
    int longestRun = 0;  // the longest horizontal run: an underline spans the text
};
Ink InkOf(const Capture& capture) {
    Ink ink;
    for (int y = 0; y < capture.height; ++y) {
        int run = 0;
        for (int x = 0; x < capture.width; ++x) {
            const COLORREF c = capture.At(x, y);
            const bool dark = GetRValue(c) + GetGValue(c) + GetBValue(c) < 200;
            run = dark ? run + 1 : 0;
            ink.pixels += dark;
            ink.longestRun = std::max(ink.longestRun, run);
        }
    }
    return ink;
}

class LinkStaticTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.Open());
        ASSERT_NE(dialog.link.m_hWnd, nullptr);
        label = dialog.link.m_hWnd;
        uitest::Pump(50);
        uitest::DropPosted(dialog.m_hWnd, WM_UI_LINK_CLICKED);
    }
    void TearDown() override {
        if (::GetCapture()) ::ReleaseCapture();
    }

    void MoveInside() { ::SendMessageA(label, WM_MOUSEMOVE, 0, At(20, 8)); }
    void ExpectHovered(bool hovered) {
        EXPECT_EQ(dialog.link.GetHover(), hovered ? 1 : 0);
        EXPECT_EQ(::GetCapture() == label, hovered);
    }

    ControlsTestDialog dialog;
    HWND label = nullptr;
};

}  // namespace

TEST_F(LinkStaticTest, HoverCapturesAndUnderlines) {
    const Capture before = CaptureClient(label);
    ASSERT_GT(InkOf(before).pixels, 20) << "the text is drawn";
    EXPECT_EQ(dialog.link.GetPaintFont(), dialog.link.GetNormalFont());

    MoveInside();
    ExpectHovered(true);
    EXPECT_EQ(dialog.link.GetPaintFont(), dialog.link.GetHoverFont());
    const Capture hovered = CaptureClient(label);
    EXPECT_GT(InkOf(hovered).pixels, InkOf(before).pixels);
    EXPECT_LT(InkOf(before).longestRun, 40);
    EXPECT_GT(InkOf(hovered).longestRun, 120) << "an underline under the whole text";

    ::SendMessageA(label, WM_MOUSEMOVE, 0, At(-5, 40));
    ExpectHovered(false);
    EXPECT_EQ(CaptureClient(label), before);

    // Drawn in its colour: no black text left.
    dialog.link.SetColor(RGB(0, 0, 255));
    const Capture blue = CaptureClient(label);
    EXPECT_EQ(InkOf(blue).pixels, 0);
    EXPECT_GT(std::count_if(blue.pixels.begin(), blue.pixels.end(),
                            [](uint32_t p) {
                                return (p & 0xFF) > 150 && (p >> 8 & 0xFF) < 100 && p >> 16 < 100;
                            }),
              20);
}

TEST_F(LinkStaticTest, WithoutLinkFlagNeverUnderlinesButStillCapturesAndPostsOnce) {
    dialog.link.SetLink(0);
    const Capture before = CaptureClient(label);
    MoveInside();
    ExpectHovered(true);
    EXPECT_EQ(dialog.link.GetPaintFont(), dialog.link.GetNormalFont());
    const Capture hovered = CaptureClient(label);
    EXPECT_EQ(hovered, before);
    EXPECT_LT(InkOf(hovered).longestRun, 40);

    ::SendMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, At(20, 8));
    ::SendMessageA(label, WM_LBUTTONUP, 0, At(20, 8));
    MSG posted{};
    ASSERT_TRUE(uitest::TakePosted(dialog.m_hWnd, WM_UI_LINK_CLICKED, &posted));
    EXPECT_EQ(posted.wParam, static_cast<WPARAM>(kLinkId));
    EXPECT_EQ(posted.lParam, 0);
    EXPECT_FALSE(uitest::TakePosted(dialog.m_hWnd, WM_UI_LINK_CLICKED, &posted, 50));
}

TEST_F(LinkStaticTest, LeavingTheLabelOrLosingTheCaptureEndsTheHover) {
    MoveInside();
    ::SendMessageA(label, WM_MOUSEMOVE, 0, At(100, 10));
    ::SendMessageA(label, WM_MOUSEMOVE, 0, At(239, 19));
    ExpectHovered(true);                                  // moves inside keep one capture
    ::SendMessageA(label, WM_MOUSEMOVE, 0, At(240, 10));  // just past the right edge
    ExpectHovered(false);

    MoveInside();
    ASSERT_EQ(::GetCapture(), label);
    // A dialog or menu opened by the click takes the mouse.
    ::SetCapture(dialog.m_hWnd);
    EXPECT_EQ(dialog.link.GetHover(), 0);
    EXPECT_EQ(dialog.link.GetPaintFont(), dialog.link.GetNormalFont());
    ::ReleaseCapture();
    // Coming back over the label hovers again.
    MoveInside();
    ExpectHovered(true);
}
