#include "settings/RegionData.h"

#include <gtest/gtest.h>

#include <vector>

#include "RegionBytes.h"

using namespace settings;

TEST(RegionData, OneRectangleIsThe48BytesGetRegionDataGives) {
    const auto data = RegionBytes({{10, 20, 110, 120}});
    const std::vector<uint32_t> words = {32, 1, 1, 16, 10, 20, 110, 120, 10, 20, 110, 120};
    std::vector<uint8_t> expected;
    for (uint32_t w : words) PutRegion32(expected, w);
    ASSERT_EQ(data, expected);
    EXPECT_EQ(CheckRegionData(data), RegionDataCheck::Valid);
    const auto rects = DecodeRegionData(data);
    ASSERT_TRUE(rects);
    EXPECT_EQ(*rects, (std::vector<RegionRect>{{10, 20, 110, 120}}));
}

TEST(RegionData, ManyRectanglesAndTheEmptyRegionAreValid) {
    std::vector<RegionRect> rects;
    for (int y = 0; y < 240; y += 2) rects.push_back({y % 7, y, 320 - y % 5, y + 1});
    EXPECT_EQ(CheckRegionData(RegionBytes(rects)), RegionDataCheck::Valid);
    EXPECT_EQ(CheckRegionData(RegionBytes({})), RegionDataCheck::Valid);
    EXPECT_EQ(DecodeRegionData(RegionBytes({}))->size(), 0u);
}

TEST(RegionData, ZeroRectangleBufferSizeIsAccepted) {
    auto data = RegionBytes({{0, 0, 5, 5}});
    SetRegion32(data, 12, 0);  // "may be zero if the size is not known"
    EXPECT_EQ(CheckRegionData(data), RegionDataCheck::Valid);
    SetRegion32(data, 12, 15);
    EXPECT_EQ(CheckRegionData(data), RegionDataCheck::BadBufferSize);
}

TEST(RegionData, ShortDataIsRefused) {
    const auto data = RegionBytes({{10, 20, 110, 120}});
    for (std::size_t size = 0; size < data.size(); ++size) {
        const std::vector<uint8_t> cut(data.begin(),
                                       data.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_NE(CheckRegionData(cut), RegionDataCheck::Valid) << size;
        EXPECT_FALSE(DecodeRegionData(cut)) << size;
    }
}

TEST(RegionData, WrongHeaderSizeOrTypeIsRefused) {
    auto data = RegionBytes({{10, 20, 110, 120}});
    SetRegion32(data, 0, 28);
    EXPECT_EQ(CheckRegionData(data), RegionDataCheck::BadHeaderSize);
    SetRegion32(data, 0, 32);
    SetRegion32(data, 4, 2);
    EXPECT_EQ(CheckRegionData(data), RegionDataCheck::BadType);
    SetRegion32(data, 4, 0);
    EXPECT_EQ(CheckRegionData(data), RegionDataCheck::BadType);
}

TEST(RegionData, CountMustFillTheLengthExactly) {
    auto data = RegionBytes({{10, 20, 110, 120}, {10, 120, 50, 130}});
    SetRegion32(data, 8, 3);
    EXPECT_EQ(CheckRegionData(data), RegionDataCheck::BadCount);
    SetRegion32(data, 8, 1);
    EXPECT_EQ(CheckRegionData(data), RegionDataCheck::BadCount);
    // A count whose byte size wraps 32 bits to the real length.
    SetRegion32(data, 8, 0x10000002u);
    EXPECT_EQ(CheckRegionData(data), RegionDataCheck::BadCount);
    SetRegion32(data, 8, 0xFFFFFFFFu);
    EXPECT_EQ(CheckRegionData(data), RegionDataCheck::BadCount);
    data.push_back(0);  // trailing byte
    SetRegion32(data, 8, 2);
    EXPECT_EQ(CheckRegionData(data), RegionDataCheck::BadCount);
}

TEST(RegionData, EmptyInvertedAndFarRectanglesAreRefused) {
    const std::vector<RegionRect> bad = {{10, 20, 10, 30},  // no width
                                         {10, 20, 5, 30},   // inverted
                                         {10, 20, 30, 20},  // no height
                                         {0, 0, (1 << 27) + 1, 5},
                                         {-(1 << 27) - 1, 0, 5, 5},
                                         {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}};
    for (const RegionRect& r : bad) {
        EXPECT_EQ(CheckRegionData(RegionBytes({r})), RegionDataCheck::BadRectangle)
            << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

TEST(RegionData, RectanglesOutsideTheBoundsAreRefused) {
    auto data = RegionBytes({{10, 20, 110, 120}});
    SetRegion32(data, 24, 100);  // bounding right 100 < rectangle right 110
    EXPECT_EQ(CheckRegionData(data), RegionDataCheck::OutsideBounds);
}

TEST(RegionData, OversizedDataIsRefusedBeforeLookingAtIt) {
    std::vector<uint8_t> data(kMaxRegionBytes + 16, 0);
    EXPECT_EQ(CheckRegionData(data), RegionDataCheck::TooLarge);
}

TEST(RegionData, PlausibleMaskSizes) {
    EXPECT_TRUE(IsPlausibleRegionDataSize(32));
    EXPECT_TRUE(IsPlausibleRegionDataSize(48));
    EXPECT_TRUE(IsPlausibleRegionDataSize(kMaxRegionBytes));
    EXPECT_FALSE(IsPlausibleRegionDataSize(0));
    EXPECT_FALSE(IsPlausibleRegionDataSize(-48));
    EXPECT_FALSE(IsPlausibleRegionDataSize(31));
    EXPECT_FALSE(IsPlausibleRegionDataSize(47));
    EXPECT_FALSE(IsPlausibleRegionDataSize(int64_t{kMaxRegionBytes} + 16));
    EXPECT_FALSE(IsPlausibleRegionDataSize(INT32_MAX));
}
