#include "app/WindowRect.h"

#include <gtest/gtest.h>

namespace {

const ScreenRect kDesktop{0, 0, 1920, 1080};

TEST(WindowRect, FirstRunUsesTheTopLeftCorner) {
    EXPECT_EQ(WindowRectFromProfile("", kDesktop), (ScreenRect{0, 0, 850, 600}));
}

TEST(WindowRect, StoredRectangleOfTheFixedSizeIsKept) {
    EXPECT_EQ(WindowRectFromProfile("100,50,950,650", kDesktop), (ScreenRect{100, 50, 950, 650}));
    EXPECT_EQ(WindowRectFromProfile("1069,479,1919,1079", kDesktop),
              (ScreenRect{1069, 479, 1919, 1079}));
}

TEST(WindowRect, OtherSizesAndPlacesFallBackToTheDefault) {
    for (const char* stored : {"100,50,951,650",    // one pixel too wide
                               "100,50,950,651",    // one pixel too high
                               "-10,50,840,650",    // left of the primary screen
                               "100,-1,950,599",    // above it
                               "1070,50,1920,650",  // right edge on the desktop's right
                               "100,480,950,1080",  // bottom edge on the desktop's bottom
                               "garbage", ",,,", "100,50", "2147483647,0,-2147483648,600"}) {
        EXPECT_EQ(WindowRectFromProfile(stored, kDesktop), kDefaultFrameRect) << stored;
    }
}

TEST(WindowRect, NumbersAreReadFromTheStartOfEachPart) {
    EXPECT_EQ(WindowRectFromProfile(" 100px,50 ,950.7,650,99", kDesktop),
              (ScreenRect{100, 50, 950, 650}));
    EXPECT_EQ(WindowRectFromProfile("99999999999999,0,850,600", kDesktop), kDefaultFrameRect);
}

TEST(WindowRect, WrittenAsFourCommaSeparatedNumbers) {
    EXPECT_EQ(FormatWindowRect({100, 50, 950, 650}), "100,50,950,650");
    EXPECT_EQ(FormatWindowRect({-2147483647 - 1, 0, 2147483647, -1}),
              "-2147483648,0,2147483647,-1");
}

}  // namespace
