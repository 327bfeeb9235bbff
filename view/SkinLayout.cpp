#include "view/SkinLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

int ClampCoordinate(int64_t value) {
    return static_cast<int>(
        std::clamp<int64_t>(value, -kSkinCoordinateLimit - 1, kSkinCoordinateLimit));
}

// A layout size below zero would mirror the picture or the button: cut to 0.
int ClampExtent(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, 0, kSkinCoordinateLimit));
}

SkinRect Place(int64_t left, int64_t top, int64_t cx, int64_t cy) {
    SkinRect rect;
    rect.left = ClampCoordinate(left);
    rect.top = ClampCoordinate(top);
    rect.right = ClampCoordinate(int64_t{rect.left} + ClampExtent(cx));
    rect.bottom = ClampCoordinate(int64_t{rect.top} + ClampExtent(cy));
    return rect;
}

// Rounds to single precision even where the compiler keeps wider
// intermediates (x87 on 32-bit builds): the store through volatile forces it.
float Single(float value) {
    volatile float stored = value;
    return stored;
}

// Truncates a single-precision product toward zero, within the extent range.
int64_t TruncateScaled(float value) {
    if (!std::isfinite(value)) return 0;
    if (value >= static_cast<float>(kSkinCoordinateLimit)) return kSkinCoordinateLimit;
    if (value <= 0.0f) return 0;
    return static_cast<int64_t>(value);
}

}  // namespace

SkinSize BaseSkinSize(int frameWidth, int frameHeight) {
    SkinSize size;
    size.width = std::clamp(frameWidth, kBaseSkinWidth, kSkinCoordinateLimit);
    size.height = std::clamp(frameHeight, kBaseSkinHeight, kSkinCoordinateLimit);
    return size;
}

SkinRect ExitButtonRect(SkinSize size, int top, int cx, int cy) {
    return Place(int64_t{size.width} - kExitButtonFromRight, top, cx, cy);
}

SkinRect ButtonRect(int x, int y, int cx, int cy) {
    return Place(x, y, cx, cy);
}

SkinRect PictureRectangle(SkinSize size, int x, int y, int cx, int cy) {
    // Single-precision products, as the skin was designed with.
    const float factorX = Single(static_cast<float>(size.width - 210) * 0.0015625f);
    const float factorY = Single(static_cast<float>(size.height - 120) * 0.0020833334f);
    const float scaledX = Single(static_cast<float>(cx) * factorX);
    const float scaledY = Single(static_cast<float>(cy) * factorY);
    return Place(x, y, TruncateScaled(scaledX), TruncateScaled(scaledY));
}

std::vector<MenuItem> BuildMenuItems(const std::array<int, kMenuPositions>& indices) {
    std::vector<MenuItem> items;
    items.reserve(indices.size());
    for (const int index : indices) {
        MenuItem item;
        item.index = index;
        if (index == kMenuSeparatorIndex) {
            item.separator = true;
        } else if (index >= 0 && index < kMenuSeparatorIndex) {
            item.command = ID_FIRST_MENU_COMMAND + static_cast<unsigned>(index);
        } else {
            continue;  // no such command: the position stays out of the menu
        }
        items.push_back(item);
    }
    return items;
}
