#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <limits>

#include "hostlink/HostMessages.h"
#include "hostlink/PictureSizes.h"

using namespace hostlink;

TEST(PictureSizes, AlignedRowsArePaddedToFourBytes) {
    const struct {
        FrameSize size;
        uint64_t packed, aligned;
    } cases[] = {{{320, 240}, 230400, 230400},
                 {{640, 480}, 921600, 921600},
                 {{1, 1}, 3, 4},  // 3 bytes a row -> 4
                 {{2, 1}, 6, 8},
                 {{3, 2}, 18, 24},  // 9 -> 12, two rows
                 {{4, 3}, 36, 36},
                 {{5, 1}, 15, 16},
                 {{0, 100}, 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(PictureBytes(c.size), c.packed) << c.size.width << "x" << c.size.height;
        EXPECT_EQ(AlignedPictureBytes(c.size), c.aligned) << c.size.width << "x" << c.size.height;
    }
}

TEST(PictureSizes, LargestAnnouncementDoesNotWrap) {
    const FrameSize largest = UnpackFrameSize(0xFFFFFFFFu);
    EXPECT_EQ(PictureBytes(largest), 65535ull * 3ull * 65535ull);  // > 4 GiB
    EXPECT_GT(PictureBytes(largest), uint64_t{std::numeric_limits<uint32_t>::max()});
    EXPECT_GE(AlignedPictureBytes(largest), PictureBytes(largest));
    // Too big to map or allocate in any process of ours.
    EXPECT_FALSE(PlanFirstLivePicture(largest).has_value());
}

TEST(PictureSizes, FirstLivePictureMapsPackedAndAllocatesAlignedBytes) {
    const auto plan = PlanFirstLivePicture({322, 10});
    ASSERT_TRUE(plan.has_value());
    EXPECT_EQ(plan->mapBytes, 322u * 3u * 10u);
    EXPECT_EQ(plan->bufferBytes, 968u * 10u);  // 966 rounded up to 968
    EXPECT_GE(plan->bufferBytes, plan->mapBytes);
}

TEST(PictureSizes, FirstLivePictureWithZeroSideIsRefused) {
    EXPECT_FALSE(PlanFirstLivePicture({0, 240}).has_value());
    EXPECT_FALSE(PlanFirstLivePicture({320, 0}).has_value());
    EXPECT_FALSE(PlanFirstLivePicture({0, 0}).has_value());
}

TEST(PictureSizes, LaterLivePictureMustFitMappingAndBuffer) {
    const auto plan = PlanFirstLivePicture({320, 240});
    ASSERT_TRUE(plan.has_value());
    EXPECT_TRUE(MayCopyLivePicture({320, 240}, plan->mapBytes, plan->bufferBytes));
    EXPECT_TRUE(MayCopyLivePicture({160, 120}, plan->mapBytes, plan->bufferBytes));
    EXPECT_FALSE(MayCopyLivePicture({320, 241}, plan->mapBytes, plan->bufferBytes));
    EXPECT_FALSE(MayCopyLivePicture({640, 480}, plan->mapBytes, plan->bufferBytes));
    EXPECT_FALSE(MayCopyLivePicture({0, 240}, plan->mapBytes, plan->bufferBytes));
    EXPECT_FALSE(MayCopyLivePicture({320, 0}, plan->mapBytes, plan->bufferBytes));
    // A buffer smaller than the mapping limits as well.
    EXPECT_FALSE(MayCopyLivePicture({320, 240}, 230400, 230399));
    EXPECT_FALSE(MayCopyLivePicture({65535, 65535}, plan->mapBytes, plan->bufferBytes));
}

TEST(PictureSizes, RectImageMappingIsTwoPicturesOfTheFirstMessage) {
    EXPECT_EQ(PlanRectImageMapping({320, 240}), std::optional<uint64_t>{460800});
    EXPECT_EQ(PlanRectImageMapping({160, 120}), std::optional<uint64_t>{115200});
    EXPECT_FALSE(PlanRectImageMapping({321, 240}).has_value());  // 231120 > 230400
    EXPECT_FALSE(PlanRectImageMapping({640, 480}).has_value());
    EXPECT_FALSE(PlanRectImageMapping({0, 240}).has_value());
    EXPECT_FALSE(PlanRectImageMapping({320, 0}).has_value());
    // Same byte count in another shape still fits a buffer.
    EXPECT_EQ(PlanRectImageMapping({240, 320}), std::optional<uint64_t>{460800});
}

TEST(PictureSizes, RectifiedCopyOfOneOrTwoPicturesAnyOtherCountCopiesNothing) {
    const struct {
        uint32_t count, pictures;
        uint64_t bytesEach;
    } cases[] = {{1, 1, 230400}, {2, 2, 230400}, {0, 0, 0}, {3, 0, 0}, {0xFFFF, 0, 0}};
    for (const auto& c : cases) {
        const RectifiedCopy plan = PlanRectifiedCopy(
            {320, 240}, c.count, 2 * kRectifiedPictureBytes, kRectifiedPictureBytes);
        EXPECT_FALSE(plan.refused) << c.count;
        EXPECT_EQ(plan.pictures, c.pictures) << c.count;
        EXPECT_EQ(plan.bytesEach, c.bytesEach) << c.count;
    }
}

TEST(PictureSizes, RectifiedPicturesBeyondBufferOrMappingAreRefused) {
    const uint64_t mapped = 2 * kRectifiedPictureBytes;
    EXPECT_TRUE(PlanRectifiedCopy({321, 240}, 1, 4 * mapped, 1'000'000).refused);  // > 230400
    EXPECT_TRUE(PlanRectifiedCopy({0, 240}, 1, mapped, kRectifiedPictureBytes).refused);
    EXPECT_TRUE(PlanRectifiedCopy({320, 0}, 2, mapped, kRectifiedPictureBytes).refused);
    // Mapped for one 160 x 120 pair: a 320 x 240 message would read past it.
    const uint64_t smallMapping = *PlanRectImageMapping({160, 120});
    EXPECT_TRUE(PlanRectifiedCopy({320, 240}, 1, smallMapping, kRectifiedPictureBytes).refused);
    EXPECT_FALSE(PlanRectifiedCopy({160, 120}, 2, smallMapping, kRectifiedPictureBytes).refused);
    // Two pictures need twice the bytes: exactly one fits, two do not.
    EXPECT_FALSE(PlanRectifiedCopy({320, 240}, 1, 230400, kRectifiedPictureBytes).refused);
    EXPECT_TRUE(PlanRectifiedCopy({320, 240}, 2, 230400, kRectifiedPictureBytes).refused);
    // A buffer smaller than the picture.
    EXPECT_TRUE(PlanRectifiedCopy({320, 240}, 1, mapped, 1000).refused);
}
