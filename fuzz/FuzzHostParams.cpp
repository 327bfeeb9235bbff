// Arbitrary message parameters from the host: unpacking, picture size checks,
// corner ordering and overlay geometry must hold their promises for any bits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "hostlink/HostMessages.h"
#include "hostlink/HostPacking.h"
#include "hostlink/OverlayGeometry.h"
#include "hostlink/PatternCorners.h"
#include "hostlink/PictureSizes.h"

using namespace hostlink;

using fuzz::Check;
using fuzz::Take;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint64_t wParam = Take<uint64_t>(data, size);
    const uint64_t lParam = Take<uint64_t>(data, size);
    const uint64_t mapped = Take<uint32_t>(data, size);
    const uint64_t buffer = Take<uint32_t>(data, size);
    const float angle = Take<float>(data, size);
    const int32_t arrowWidth = Take<int16_t>(data, size);
    const int32_t arrowHeight = Take<int16_t>(data, size);

    // Unpacking: both halves 16-bit, and packing them again gives the low 32 bits.
    const HostPoint p = UnpackPoint(wParam);
    Check(p.x >= 0 && p.x <= 0xFFFF && p.y >= 0 && p.y <= 0xFFFF);
    Check(PackPoint(p) == ParamBits(wParam));
    const HostRect r = UnpackRect(wParam, lParam);
    const PackedRect packed = PackRect(r);
    Check(packed.topLeft == ParamBits(wParam) && packed.bottomRight == ParamBits(lParam));
    Check(PackFloat(UnpackFloat(wParam)) == ParamBits(wParam));

    // Size checks never allow a copy past the mapping or the buffer.
    const FrameSize frame = UnpackFrameSize(lParam);
    Check(PackFrameSize(frame.width, frame.height) == ParamBits(lParam));
    if (const auto plan = PlanFirstLivePicture(frame)) {
        Check(plan->mapBytes > 0 && plan->bufferBytes >= plan->mapBytes);
        Check(MayCopyLivePicture(frame, plan->mapBytes, plan->bufferBytes));
    }
    if (MayCopyLivePicture(frame, mapped, buffer)) {
        Check(PictureBytes(frame) > 0 && PictureBytes(frame) <= mapped &&
              PictureBytes(frame) <= buffer);
    }
    if (const auto rectBytes = PlanRectImageMapping(frame)) {
        Check(*rectBytes == 2 * PictureBytes(frame) && *rectBytes <= 2 * kRectifiedPictureBytes);
    }
    const RectifiedCopy copy = PlanRectifiedCopy(frame, FrameCount(wParam), mapped, buffer);
    if (!copy.refused) {
        Check(copy.pictures * copy.bytesEach <= mapped);
        Check(copy.bytesEach <= buffer && copy.bytesEach <= kRectifiedPictureBytes);
    }

    // Overlay geometry from two unpacked points and any angle / arrow size.
    const HostPoint p1 = UnpackPoint(wParam);
    const HostPoint p2 = UnpackPoint(lParam);
    const CountingLineOverlay overlay =
        ComputeCountingLineOverlay(p1, p2, angle, arrowWidth, arrowHeight);
    Check(!overlay.hasLine || !(p1 == p2));
    Check(!overlay.hasArrows || overlay.hasLine);

    // The rest of the input: marked points (int32 pairs).
    std::vector<HostPoint> points;
    while (size >= 8) {
        points.push_back({Take<int32_t>(data, size), Take<int32_t>(data, size)});
    }
    const PatternCorners corners = OrderPatternCorners(points);
    for (const HostPoint& c : corners) {
        bool found = c == kNoCorner;
        for (const HostPoint& q : points) found = found || q == c;
        Check(found);  // every slot holds a marked point or (-1, -1)
    }
    return 0;
}
