#include <gtest/gtest.h>

#include <climits>

#include "view/SkinLayout.h"

namespace {

void ExpectRect(const SkinRect& rect, int left, int top, int right, int bottom) {
    EXPECT_EQ(rect.left, left);
    EXPECT_EQ(rect.top, top);
    EXPECT_EQ(rect.right, right);
    EXPECT_EQ(rect.bottom, bottom);
}

}  // namespace

TEST(SkinLayout, WindowSizesCountFromTheBaseSizeUpToTheLimit) {
    const struct {
        int width, height, baseWidth, baseHeight;
    } cases[] = {{640, 480, 850, 600},
                 {0, -100, 850, 600},
                 {1024, 768, 1024, 768},
                 {INT_MAX, INT_MAX, kSkinCoordinateLimit, kSkinCoordinateLimit}};
    for (const auto& c : cases) {
        const SkinSize size = BaseSkinSize(c.width, c.height);
        EXPECT_EQ(size.width, c.baseWidth) << c.width;
        EXPECT_EQ(size.height, c.baseHeight) << c.height;
    }
}

// The Exit button follows the right edge (a narrower window puts it where the
// base would); negative sizes are cut to nothing; the menu button's defaults.
TEST(SkinLayout, ButtonPlaces) {
    ExpectRect(ExitButtonRect(BaseSkinSize(850, 600), 5, 24, 24), 812, 5, 836, 29);
    ExpectRect(ExitButtonRect(BaseSkinSize(1000, 600), 2, 30, 20), 962, 2, 992, 22);
    ExpectRect(ExitButtonRect(BaseSkinSize(500, 300), 5, 24, 24), 812, 5, 836, 29);
    ExpectRect(ExitButtonRect(BaseSkinSize(850, 600), 5, -24, -1), 812, 5, 812, 5);
    ExpectRect(ButtonRect(771, 535, -71, 57), 771, 535, 771, 592);
    ExpectRect(ButtonRect(771, 535, 71, 57), 771, 535, 842, 592);
}

TEST(SkinLayout, ButtonsNeverOverflow) {
    const SkinRect rect = ButtonRect(INT_MAX, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(rect.left, kSkinCoordinateLimit);
    EXPECT_EQ(rect.top, -kSkinCoordinateLimit - 1);
    EXPECT_EQ(rect.right, kSkinCoordinateLimit);
    EXPECT_EQ(rect.bottom, -1);
    EXPECT_GE(rect.right, rect.left);
    EXPECT_GE(rect.bottom, rect.top);
}

TEST(SkinLayout, PictureScalesWithALargerWindowAndBadSizesAreCut) {
    const SkinSize base = BaseSkinSize(850, 600);
    ExpectRect(PictureRectangle(base, 14, 35, 320, 240), 14, 35, 334, 275);
    ExpectRect(PictureRectangle(base, 14, 35, 640, 480), 14, 35, 654, 515);
    // (1290 - 210) / 640 = 1.6875 and (840 - 120) / 480 = 1.5.
    ExpectRect(PictureRectangle(BaseSkinSize(1290, 840), 14, 35, 320, 240), 14, 35, 554, 395);
    // (1000 - 210) / 640 = 1.234375; (601 - 120) / 480 makes 240.5, truncated.
    ExpectRect(PictureRectangle(BaseSkinSize(1000, 601), 10, 20, 320, 240), 10, 20, 405, 260);
    ExpectRect(PictureRectangle(base, 14, 35, -320, -240), 14, 35, 14, 35);
    const SkinRect huge =
        PictureRectangle(BaseSkinSize(INT_MAX, INT_MAX), INT_MAX, 0, INT_MAX, INT_MAX);
    EXPECT_EQ(huge.left, kSkinCoordinateLimit);
    EXPECT_EQ(huge.right, kSkinCoordinateLimit);
    EXPECT_EQ(huge.bottom, kSkinCoordinateLimit);
}

TEST(SkinLayout, PictureScalingTruncatesLikeTheExactQuotient) {
    // Over a wide range the single-precision product truncates to the same
    // value as the exact quotient cx * (width - 210) / 640.
    for (int width = 850; width <= 1900; width += 7) {
        for (int cx = 1; cx <= 700; cx += 3) {
            const SkinRect rect = PictureRectangle(BaseSkinSize(width, 600), 0, 0, cx, 0);
            ASSERT_EQ(rect.right, static_cast<int>((int64_t{cx} * (width - 210)) / 640))
                << width << " " << cx;
        }
    }
    for (int height = 600; height <= 1400; height += 5) {
        for (int cy = 1; cy <= 500; cy += 3) {
            const SkinRect rect = PictureRectangle(BaseSkinSize(850, height), 0, 0, 0, cy);
            ASSERT_EQ(rect.bottom, static_cast<int>((int64_t{cy} * (height - 120)) / 480))
                << height << " " << cy;
        }
    }
}

TEST(SkinLayout, UnknownMenuValuesAddNothing) {
    const std::array<int, kMenuPositions> indices{-1, 9, INT_MAX, INT_MIN, 5, 150, 8, 0, 7};
    const std::vector<MenuItem> items = BuildMenuItems(indices);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].command, 155u);
    EXPECT_TRUE(items[1].separator);
    EXPECT_EQ(items[2].command, 150u);
    EXPECT_EQ(items[3].command, 157u);
}
