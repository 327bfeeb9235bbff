// Skin layout values of any size and any frame size: every rectangle stays
// inside the coordinate range GDI handles, is never mirrored, and the menu
// takes exactly the positions that name a command or a separator.
#include <array>
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzInput.h"
#include "view/SkinLayout.h"

using fuzz::Check;
using fuzz::Take;

namespace {

void CheckRect(const SkinRect& r) {
    for (const int v : {r.left, r.top, r.right, r.bottom}) {
        Check(v >= -kSkinCoordinateLimit - 1 && v <= kSkinCoordinateLimit);
    }
    Check(r.right >= r.left && r.bottom >= r.top);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const SkinSize skin = BaseSkinSize(Take<int32_t>(data, size), Take<int32_t>(data, size));
    Check(skin.width >= kBaseSkinWidth && skin.width <= kSkinCoordinateLimit);
    Check(skin.height >= kBaseSkinHeight && skin.height <= kSkinCoordinateLimit);

    const int x = Take<int32_t>(data, size);
    const int y = Take<int32_t>(data, size);
    const int cx = Take<int32_t>(data, size);
    const int cy = Take<int32_t>(data, size);
    CheckRect(ExitButtonRect(skin, y, cx, cy));
    CheckRect(ButtonRect(x, y, cx, cy));
    const SkinRect picture = PictureRectangle(skin, x, y, cx, cy);
    CheckRect(picture);
    // Scaling never makes the picture smaller than at the base size.
    const SkinRect base = PictureRectangle(SkinSize{}, x, y, cx, cy);
    Check(picture.right - picture.left >= base.right - base.left);

    std::array<int, kMenuPositions> indices{};
    for (int& index : indices) index = Take<int32_t>(data, size);
    size_t expected = 0;
    for (const int index : indices) expected += index >= 0 && index <= kMenuSeparatorIndex;
    const auto items = BuildMenuItems(indices);
    Check(items.size() == expected);
    for (const MenuItem& item : items) {
        Check(item.separator ? item.command == 0
                             : item.command == ID_FIRST_MENU_COMMAND + unsigned(item.index));
    }
    return 0;
}
