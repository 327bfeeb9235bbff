#pragma once
// The reference picture file: a 320 x 240, 24-bit, bottom-up BMP of exactly
// 230454 bytes (14-byte file header, 40-byte info header, 230400 pixel bytes
// blue-green-red without row padding).
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace settings {

inline constexpr int32_t kReferenceWidth = 320;
inline constexpr int32_t kReferenceHeight = 240;
inline constexpr uint32_t kReferencePixelBytes = 230400;
inline constexpr uint32_t kBmpHeaderBytes = 54;  // file header 14 + info header 40
inline constexpr uint32_t kReferenceFileBytes = kBmpHeaderBytes + kReferencePixelBytes;

using ReferencePixels = std::span<uint8_t, kReferencePixelBytes>;
using ConstReferencePixels = std::span<const uint8_t, kReferencePixelBytes>;

// The 54 header bytes this program writes.
std::array<uint8_t, kBmpHeaderBytes> EncodeReferenceHeader();

// The whole file: header and pixels.
std::vector<uint8_t> EncodeReferencePicture(ConstReferencePixels pixels);

// From the first bytes of a file: how many pixel bytes to read right after
// the 54 header bytes, or nothing when the picture is to be black (fewer
// than 54 bytes, bit count not 24, width not 320, height not 240). The
// image-size field gives the count, 230400 when it is 0; a larger field is
// read only as far as the 230400-byte buffer goes.
std::optional<uint32_t> ReferencePixelBytesToRead(std::span<const uint8_t> header);

// Fills `pixels` from a whole file. A file shorter than its header says is
// refused as a whole. Bytes beyond what the header announces are black.
// Returns false (and a black picture) when refused.
bool DecodeReferencePicture(std::span<const uint8_t> file, ReferencePixels pixels);

}  // namespace settings
