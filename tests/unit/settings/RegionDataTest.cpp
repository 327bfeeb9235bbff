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

TEST(RegionData, ShortDataIsRefused) {
    const auto data = RegionBytes({{10, 20, 110, 120}});
    for (std::size_t size = 0; size < data.size(); ++size) {
        const std::vector<uint8_t> cut(data.begin(),
                                       data.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_NE(CheckRegionData(cut), RegionDataCheck::Valid) << size;
        EXPECT_FALSE(DecodeRegionData(cut)) << size;
    }
}

TEST(RegionData, EachHeaderWordIsChecked) {
    using C = RegionDataCheck;
    const auto one = RegionBytes({{10, 20, 110, 120}});
    const auto two = RegionBytes({{10, 20, 110, 120}, {10, 120, 50, 130}});
    auto trailing = two;
    trailing.push_back(0);
    const struct {
        const char* what;
        std::vector<uint8_t> data;
        std::size_t at;
        uint32_t value;
        C expected;
    } cases[] = {
        {"rectangle bytes 0 (may be zero if not known)", one, 12, 0, C::Valid},
        {"rectangle bytes 15", one, 12, 15, C::BadBufferSize},
        {"header size 28", one, 0, 28, C::BadHeaderSize},
        {"type 2", one, 4, 2, C::BadType},
        {"type 0", one, 4, 0, C::BadType},
        {"count 3 of 2", two, 8, 3, C::BadCount},
        {"count 1 of 2", two, 8, 1, C::BadCount},
        {"count wrapping to the length", two, 8, 0x10000002u, C::BadCount},
        {"count all ones", two, 8, 0xFFFFFFFFu, C::BadCount},
        {"a trailing byte", trailing, 8, 2, C::BadCount},
        {"bounds right 100 < 110", one, 24, 100, C::OutsideBounds},
    };
    for (auto c : cases) {
        SetRegion32(c.data, c.at, c.value);
        EXPECT_EQ(CheckRegionData(c.data), c.expected) << c.what;
    }
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

TEST(RegionData, OversizedDataAndImplausibleMaskSizesAreRefused) {
    EXPECT_EQ(CheckRegionData(std::vector<uint8_t>(kMaxRegionBytes + 16, 0)),
              RegionDataCheck::TooLarge);
    const int64_t plausible[] = {32, 48, kMaxRegionBytes};
    const int64_t implausible[] = {0, -48, 31, 47, int64_t{kMaxRegionBytes} + 16, INT32_MAX};
    for (int64_t size : plausible) EXPECT_TRUE(IsPlausibleRegionDataSize(size)) << size;
    for (int64_t size : implausible) EXPECT_FALSE(IsPlausibleRegionDataSize(size)) << size;
}
