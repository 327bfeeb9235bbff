#include "hostlink/PictureSizes.h"

#include <cstddef>
#include <limits>

#include "hostlink/HostMessages.h"

namespace hostlink {

namespace {

// What one allocation or mapping in this process can hold: size_t (32 bits on
// the shipped build) and the DWORD image-size field of the picture header.
constexpr uint64_t kLargestBlock =
    std::numeric_limits<std::size_t>::max() < std::numeric_limits<uint32_t>::max()
        ? std::numeric_limits<std::size_t>::max()
        : std::numeric_limits<uint32_t>::max();

}  // namespace

std::optional<LivePicturePlan> PlanFirstLivePicture(FrameSize size) {
    if (size.width == 0 || size.height == 0) return std::nullopt;
    const LivePicturePlan plan{PictureBytes(size), AlignedPictureBytes(size)};
    if (plan.mapBytes > kLargestBlock || plan.bufferBytes > kLargestBlock) return std::nullopt;
    return plan;
}

bool MayCopyLivePicture(FrameSize size, uint64_t mappedBytes, uint64_t bufferBytes) {
    const uint64_t bytes = PictureBytes(size);
    return bytes != 0 && bytes <= mappedBytes && bytes <= bufferBytes;
}

std::optional<uint64_t> PlanRectImageMapping(FrameSize size) {
    const uint64_t bytes = PictureBytes(size);
    if (bytes == 0 || bytes > kRectifiedPictureBytes) return std::nullopt;
    return 2 * bytes;
}

RectifiedCopy PlanRectifiedCopy(FrameSize size, uint32_t count, uint64_t mappedBytes,
                                uint64_t bufferBytes) {
    RectifiedCopy plan;
    if (count != kRectifiedLeftOnly && count != kRectifiedLeftAndRight) return plan;
    const uint64_t bytes = PictureBytes(size);
    if (bytes == 0 || bytes > kRectifiedPictureBytes || bytes > bufferBytes ||
        bytes * count > mappedBytes) {
        plan.refused = true;
        return plan;
    }
    plan.pictures = count;
    plan.bytesEach = bytes;
    return plan;
}

}  // namespace hostlink
