#pragma once
// The mask file holds a region exactly as GetRegionData returns it (RGNDATA):
// a 32-byte header (size 32, type 1 = rectangles, count n, size of the
// rectangle buffer, bounding rectangle) and n rectangles of four int32.
// ExtCreateRegion trusts the header's count, so the bytes are checked here
// before they reach it.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace settings {

inline constexpr uint32_t kRegionHeaderBytes = 32;
inline constexpr uint32_t kRegionRectBytes = 16;
inline constexpr uint32_t kRegionTypeRectangles = 1;  // RDH_RECTANGLES
// Far more rectangles than any mask of a 320 x 240 picture has (one per
// pixel is 76800); keeps a damaged "Mask Size" from asking for gigabytes.
inline constexpr uint32_t kMaxRegionRects = 1u << 20;
inline constexpr uint32_t kMaxRegionBytes = kRegionHeaderBytes + kMaxRegionRects * kRegionRectBytes;
// GDI's coordinate space: coordinates beyond it are not a region GDI made.
inline constexpr int32_t kMaxRegionCoordinate = 1 << 27;

struct RegionRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const RegionRect&) const = default;
};

enum class RegionDataCheck {
    Valid,
    TooShort,       // fewer than 32 bytes
    TooLarge,       // more than kMaxRegionBytes
    BadHeaderSize,  // header size field not 32
    BadType,        // not RDH_RECTANGLES
    BadCount,       // 32 + count x 16 is not the length
    BadBufferSize,  // rectangle buffer size neither 0 nor count x 16
    BadRectangle,   // empty or inverted rectangle, or outside GDI's coordinates
    OutsideBounds,  // a rectangle reaches beyond the bounding rectangle
};

// True when `size` (the settings' "Mask Size") can be the length of region
// data at all: 32 + n x 16 bytes, n within kMaxRegionRects.
bool IsPlausibleRegionDataSize(int64_t size);

// Checks the whole buffer; Valid means ExtCreateRegion may be given it with
// its length. The count must fill the buffer exactly: the mask file's length
// is the byte count GetRegionData reported, so anything else is damage.
RegionDataCheck CheckRegionData(std::span<const uint8_t> data);

// The rectangles of valid region data; nothing when CheckRegionData refuses it.
std::optional<std::vector<RegionRect>> DecodeRegionData(std::span<const uint8_t> data);

}  // namespace settings
