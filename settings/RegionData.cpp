#include "settings/RegionData.h"

namespace settings {
namespace {

uint32_t Get32(const uint8_t* at) {
    return uint32_t{at[0]} | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 | uint32_t{at[3]} << 24;
}

RegionRect GetRect(const uint8_t* at) {
    return RegionRect{static_cast<int32_t>(Get32(at)), static_cast<int32_t>(Get32(at + 4)),
                      static_cast<int32_t>(Get32(at + 8)), static_cast<int32_t>(Get32(at + 12))};
}

bool InCoordinateSpace(int32_t value) {
    return value >= -kMaxRegionCoordinate && value <= kMaxRegionCoordinate;
}

bool IsProperRect(const RegionRect& r) {
    return InCoordinateSpace(r.left) && InCoordinateSpace(r.top) && InCoordinateSpace(r.right) &&
           InCoordinateSpace(r.bottom) && r.left < r.right && r.top < r.bottom;
}

bool Contains(const RegionRect& outer, const RegionRect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

}  // namespace

bool IsPlausibleRegionDataSize(int64_t size) {
    if (size < kRegionHeaderBytes || size > kMaxRegionBytes) return false;
    return (size - kRegionHeaderBytes) % kRegionRectBytes == 0;
}

RegionDataCheck CheckRegionData(std::span<const uint8_t> data) {
    if (data.size() < kRegionHeaderBytes) return RegionDataCheck::TooShort;
    if (data.size() > kMaxRegionBytes) return RegionDataCheck::TooLarge;
    const uint8_t* d = data.data();
    if (Get32(d) != kRegionHeaderBytes) return RegionDataCheck::BadHeaderSize;
    if (Get32(d + 4) != kRegionTypeRectangles) return RegionDataCheck::BadType;
    const uint32_t count = Get32(d + 8);
    // Both sides in 64 bits: count x 16 cannot wrap, on the 32-bit build either.
    if (uint64_t{kRegionHeaderBytes} + uint64_t{count} * kRegionRectBytes != data.size()) {
        return RegionDataCheck::BadCount;
    }
    const uint32_t bufferSize = Get32(d + 12);
    if (bufferSize != 0 && bufferSize != count * kRegionRectBytes) {
        return RegionDataCheck::BadBufferSize;
    }
    if (count == 0) return RegionDataCheck::Valid;  // an empty region; its bounds do not matter
    const RegionRect bounds = GetRect(d + 16);
    if (!IsProperRect(bounds)) return RegionDataCheck::BadRectangle;
    for (uint32_t i = 0; i < count; ++i) {
        const RegionRect rect = GetRect(d + kRegionHeaderBytes + std::size_t{i} * kRegionRectBytes);
        if (!IsProperRect(rect)) return RegionDataCheck::BadRectangle;
        if (!Contains(bounds, rect)) return RegionDataCheck::OutsideBounds;
    }
    return RegionDataCheck::Valid;
}

std::optional<std::vector<RegionRect>> DecodeRegionData(std::span<const uint8_t> data) {
    if (CheckRegionData(data) != RegionDataCheck::Valid) return std::nullopt;
    const uint32_t count = Get32(data.data() + 8);
    std::vector<RegionRect> rects;
    rects.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        rects.push_back(
            GetRect(data.data() + kRegionHeaderBytes + std::size_t{i} * kRegionRectBytes));
    }
    return rects;
}

}  // namespace settings
