#include "settings/ReferencePicture.h"

#include <algorithm>
#include <cstring>

namespace settings {
namespace {

void Put16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void Put32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint16_t Get16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | at[1] << 8);
}

uint32_t Get32(const uint8_t* at) {
    return uint32_t{at[0]} | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 | uint32_t{at[3]} << 24;
}

// Offsets in the 54 header bytes.
constexpr std::size_t kFileType = 0;
constexpr std::size_t kFileSize = 2;
constexpr std::size_t kPixelOffset = 10;
constexpr std::size_t kInfoSize = 14;
constexpr std::size_t kWidth = 18;
constexpr std::size_t kHeight = 22;
constexpr std::size_t kPlanes = 26;
constexpr std::size_t kBitCount = 28;
constexpr std::size_t kImageSize = 34;

}  // namespace

std::array<uint8_t, kBmpHeaderBytes> EncodeReferenceHeader() {
    std::array<uint8_t, kBmpHeaderBytes>
        header{};  // reserved, compression, resolutions, colours: 0
    uint8_t* h = header.data();
    Put16(h + kFileType, 0x4D42);  // "BM"
    Put32(h + kFileSize, kReferenceFileBytes);
    Put32(h + kPixelOffset, kBmpHeaderBytes);
    Put32(h + kInfoSize, 40);
    Put32(h + kWidth, static_cast<uint32_t>(kReferenceWidth));
    Put32(h + kHeight, static_cast<uint32_t>(kReferenceHeight));  // positive: bottom-up
    Put16(h + kPlanes, 1);
    Put16(h + kBitCount, 24);
    Put32(h + kImageSize, kReferencePixelBytes);
    return header;
}

std::vector<uint8_t> EncodeReferencePicture(ConstReferencePixels pixels) {
    const auto header = EncodeReferenceHeader();
    std::vector<uint8_t> file;
    file.reserve(kReferenceFileBytes);
    file.insert(file.end(), header.begin(), header.end());
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

std::optional<uint32_t> ReferencePixelBytesToRead(std::span<const uint8_t> header) {
    if (header.size() < kBmpHeaderBytes) return std::nullopt;
    const uint8_t* h = header.data();
    const auto width = static_cast<int32_t>(Get32(h + kWidth));
    const auto height = static_cast<int32_t>(Get32(h + kHeight));
    if (Get16(h + kBitCount) != 24 || width != kReferenceWidth || height != kReferenceHeight) {
        return std::nullopt;
    }
    const uint32_t imageSize = Get32(h + kImageSize);
    if (imageSize == 0) return kReferencePixelBytes;
    return std::min(imageSize, kReferencePixelBytes);
}

bool DecodeReferencePicture(std::span<const uint8_t> file, ReferencePixels pixels) {
    std::fill(pixels.begin(), pixels.end(), uint8_t{0});
    const std::optional<uint32_t> count = ReferencePixelBytesToRead(file);
    if (!count || file.size() - kBmpHeaderBytes < *count) return false;
    std::memcpy(pixels.data(), file.data() + kBmpHeaderBytes, *count);
    return true;
}

}  // namespace settings
