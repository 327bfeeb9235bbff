#pragma once
// The frame's stored screen rectangle ("left,top,right,bottom"), accepted only
// when it has the fixed window size and lies on the primary screen.
#include <cstdint>
#include <string>
#include <string_view>

struct ScreenRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const ScreenRect&) const = default;
};

constexpr int32_t kFrameWidth = 850;
constexpr int32_t kFrameHeight = 600;
constexpr ScreenRect kDefaultFrameRect{0, 0, kFrameWidth, kFrameHeight};

// stored: the profile text (empty when none); desktop: the primary screen's rectangle.
ScreenRect WindowRectFromProfile(std::string_view stored, const ScreenRect& desktop);
std::string FormatWindowRect(const ScreenRect& rect);
