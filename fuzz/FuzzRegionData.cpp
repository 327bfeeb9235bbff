// Mask files of any content: only region data whose header count fills the
// buffer exactly with proper rectangles may reach ExtCreateRegion.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "settings/RegionData.h"

using namespace settings;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const RegionDataCheck check = CheckRegionData(bytes);
    const auto rects = DecodeRegionData(bytes);
    if ((check == RegionDataCheck::Valid) != rects.has_value()) std::abort();
    if (!rects) return 0;
    if (!IsPlausibleRegionDataSize(static_cast<int64_t>(size))) std::abort();
    if (kRegionHeaderBytes + rects->size() * kRegionRectBytes != size) std::abort();
    for (const RegionRect& r : *rects) {
        if (r.left >= r.right || r.top >= r.bottom) std::abort();
    }
    return 0;
}
