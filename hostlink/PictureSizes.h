#pragma once
// Size arithmetic and checks for the pictures the host announces with
// WM_VIEW_NEW_FRAME. Every size is checked against the mapping and the
// buffers before anything is copied; the arithmetic runs in 64 bits so that
// 65535 x 3 x 65535 cannot wrap, on the 32-bit build as well.
#include <cstdint>
#include <optional>

#include "hostlink/HostPacking.h"

namespace hostlink {

// width x 3 x height: the bytes of one picture in the shared block
// (rows packed without gaps).
constexpr uint64_t PictureBytes(FrameSize size) {
    return uint64_t{size.width} * 3u * uint64_t{size.height};
}

// ((width x 24 + 31) & ~31) / 8 x height: the bytes of the same picture with
// each row padded to 4 bytes, as a DIB wants it.
constexpr uint64_t AlignedPictureBytes(FrameSize size) {
    return ((uint64_t{size.width} * 24u + 31u) & ~uint64_t{31}) / 8u * uint64_t{size.height};
}

// First live picture: what to map and what to allocate.
struct LivePicturePlan {
    uint64_t mapBytes = 0;     // width x 3 x height, mapped from the Image block
    uint64_t bufferBytes = 0;  // 4-byte aligned rows, the pixel buffer and biSizeImage
};

// Refused (nullopt) for a zero width or height, and for sizes this process
// cannot map or allocate (above what size_t and a DWORD image size can hold).
std::optional<LivePicturePlan> PlanFirstLivePicture(FrameSize size);

// A later live picture is copied with its own byte count only when that count
// is not zero and fits both the mapped bytes and the pixel buffer.
bool MayCopyLivePicture(FrameSize size, uint64_t mappedBytes, uint64_t bufferBytes);

// Bytes to map of the RectImage block for its first message: 2 x width x 3 x
// height; refused for zero sizes and pictures larger than a rectified buffer.
std::optional<uint64_t> PlanRectImageMapping(FrameSize size);

// What a rectified WM_VIEW_NEW_FRAME copies: `pictures` buffers (0, 1 or 2)
// of `bytesEach` bytes from offsets 0 and bytesEach. A count other than 1 or
// 2 copies nothing (not a refusal). Refused when a picture is empty, larger
// than a rectified buffer, or the pictures would read past the mapped bytes.
struct RectifiedCopy {
    bool refused = false;
    uint32_t pictures = 0;
    uint64_t bytesEach = 0;
};
RectifiedCopy PlanRectifiedCopy(FrameSize size, uint32_t count, uint64_t mappedBytes,
                                uint64_t bufferBytes);

}  // namespace hostlink
