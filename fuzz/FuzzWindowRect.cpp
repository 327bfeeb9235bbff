// Any stored window-position text on any primary screen: the frame gets
// either the default place or a rectangle of the fixed size inside the
// screen, and a rectangle that was taken reads back the same from its text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/WindowRect.h"
#include "fuzz/FuzzInput.h"

using fuzz::Check;
using fuzz::Take;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ScreenRect desktop{0, 0, Take<int32_t>(data, size), Take<int32_t>(data, size)};
    const std::string_view stored(reinterpret_cast<const char*>(data), size);

    const ScreenRect rect = WindowRectFromProfile(stored, desktop);
    if (rect == kDefaultFrameRect) return 0;
    Check(rect.left >= 0 && rect.top >= 0);
    Check(rect.right < desktop.right && rect.bottom < desktop.bottom);
    Check(int64_t{rect.right} - rect.left == kFrameWidth);
    Check(int64_t{rect.bottom} - rect.top == kFrameHeight);
    Check(WindowRectFromProfile(FormatWindowRect(rect), desktop) == rect);
    return 0;
}
