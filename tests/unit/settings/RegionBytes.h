#pragma once
// Builds region data (RGNDATA bytes) for tests, as GetRegionData lays it out.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "settings/RegionData.h"

inline void PutRegion32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline void PutRegionRect(std::vector<uint8_t>& out, const settings::RegionRect& r) {
    PutRegion32(out, static_cast<uint32_t>(r.left));
    PutRegion32(out, static_cast<uint32_t>(r.top));
    PutRegion32(out, static_cast<uint32_t>(r.right));
    PutRegion32(out, static_cast<uint32_t>(r.bottom));
}

inline std::vector<uint8_t> RegionBytes(const std::vector<settings::RegionRect>& rects) {
    settings::RegionRect bounds{};
    if (!rects.empty()) {
        bounds = rects.front();
        for (const auto& r : rects) {
            bounds.left = std::min(bounds.left, r.left);
            bounds.top = std::min(bounds.top, r.top);
            bounds.right = std::max(bounds.right, r.right);
            bounds.bottom = std::max(bounds.bottom, r.bottom);
        }
    }
    std::vector<uint8_t> out;
    PutRegion32(out, 32);
    PutRegion32(out, 1);
    PutRegion32(out, static_cast<uint32_t>(rects.size()));
    PutRegion32(out, static_cast<uint32_t>(rects.size() * 16));
    PutRegionRect(out, bounds);
    for (const auto& r : rects) PutRegionRect(out, r);
    return out;
}

inline void SetRegion32(std::vector<uint8_t>& data, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) data[at + i] = static_cast<uint8_t>(value >> (8 * i));
}
