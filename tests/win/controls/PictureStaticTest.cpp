#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "ControlsTestDialog.h"
#include "tests/win/support/UiTest.h"

namespace {

using uitest::Capture;
using uitest::CaptureClient;

constexpr int kWidth = 60;
constexpr int kHeight = 40;
constexpr COLORREF kRed = RGB(200, 30, 30);
constexpr COLORREF kBlue = RGB(30, 60, 200);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kAlmostYellow = RGB(255, 254, 0);

// Left half red, right half blue, a pure yellow block and a nearly yellow one.
COLORREF TestPixel(int x, int y) {
    if (y >= 10 && y < 20 && x >= 10 && x < 20) return kYellow;
    if (y >= 10 && y < 20 && x >= 40 && x < 50) return kAlmostYellow;
    return x < kWidth / 2 ? kRed : kBlue;
}

bool Near(COLORREF a, COLORREF b, int tolerance = 2) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

class PictureStaticTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.Open());
        ASSERT_NE(dialog.picture.m_hWnd, nullptr);
        box = dialog.picture.m_hWnd;
    }

    void Show(ImagePtr image) {
        dialog.picture.SetImage(std::move(image));
        ::InvalidateRect(box, nullptr, FALSE);
    }

    ControlsTestDialog dialog;
    HWND box = nullptr;
};

}  // namespace

TEST_F(PictureStaticTest, PureYellowShowsTheDialogBackground) {
    Show(uitest::MakeBitmap(kWidth, kHeight, TestPixel));
    const Capture shown = CaptureClient(box);
    // Interior points of each area, away from edges that filtering may blend.
    EXPECT_TRUE(Near(shown.At(15, 15), kDialogBackground)) << std::hex << shown.At(15, 15);
    EXPECT_TRUE(Near(shown.At(12, 12), kDialogBackground));
    EXPECT_TRUE(Near(shown.At(45, 15), kAlmostYellow)) << "only exact yellow is keyed out";
    EXPECT_TRUE(Near(shown.At(5, 5), kRed));
    EXPECT_TRUE(Near(shown.At(5, 35), kRed));
    EXPECT_TRUE(Near(shown.At(55, 35), kBlue));
    // Natural size from the top-left corner: nothing beyond the picture.
    EXPECT_TRUE(Near(shown.At(kWidth + 5, 5), kDialogBackground));
    EXPECT_TRUE(Near(shown.At(5, kHeight + 5), kDialogBackground));
    EXPECT_TRUE(Near(shown.At(150, 110), kDialogBackground));
}

TEST_F(PictureStaticTest, ReplacingAndClearingTheImage) {
    const Capture empty = CaptureClient(box);  // no picture yet: nothing drawn
    ASSERT_GT(empty.width, 0);
    EXPECT_EQ(std::count(empty.pixels.begin(), empty.pixels.end(), empty.pixels[0]),
              static_cast<std::ptrdiff_t>(empty.pixels.size()));
    EXPECT_TRUE(Near(empty.At(5, 5), kDialogBackground));
    Show(uitest::MakeBitmap(kWidth, kHeight, TestPixel));
    CaptureClient(box);
    Show(uitest::MakeBitmap(20, 20, [](int, int) { return RGB(0, 160, 0); }));
    EXPECT_EQ(dialog.picture.GetImage()->GetWidth(), 20u);
    const Capture replaced = CaptureClient(box);
    EXPECT_TRUE(Near(replaced.At(5, 5), RGB(0, 160, 0)));
    Show(nullptr);
    EXPECT_EQ(dialog.picture.GetImage(), nullptr);
}
