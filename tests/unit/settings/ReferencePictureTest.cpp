#include "settings/ReferencePicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

using namespace settings;

namespace {

void Put32(std::vector<uint8_t>& file, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
}
void Put16(std::vector<uint8_t>& file, std::size_t at, uint16_t value) {
    file[at] = static_cast<uint8_t>(value);
    file[at + 1] = static_cast<uint8_t>(value >> 8);
}

std::vector<uint8_t> Pattern() {
    std::vector<uint8_t> pixels(kReferencePixelBytes);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 7 + 3);
    return pixels;
}

std::vector<uint8_t> GoodFile() {
    const auto pixels = Pattern();
    return EncodeReferencePicture(ConstReferencePixels(pixels.data(), kReferencePixelBytes));
}

bool AllZero(const std::vector<uint8_t>& v) {
    return std::all_of(v.begin(), v.end(), [](uint8_t b) { return b == 0; });
}

}  // namespace

TEST(ReferencePicture, HeaderIsTheFixedTable) {
    const auto header = EncodeReferenceHeader();
    const uint8_t expected[54] = {'B',  'M',  0x36, 0x84, 0x03, 0x00,  // 230454
                                  0,    0,    0,    0,                 // reserved
                                  54,   0,    0,    0,                 // pixel offset
                                  40,   0,    0,    0,                 // info header
                                  0x40, 0x01, 0,    0,                 // 320
                                  0xF0, 0,    0,    0,                 // 240
                                  1,    0,    24,   0,                 // planes, bits
                                  0,    0,    0,    0,                 // BI_RGB
                                  0x00, 0x84, 0x03, 0x00,              // 230400
                                  0,    0,    0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(header.data(), expected, sizeof expected), 0);
}

TEST(ReferencePicture, FileIsHeaderThenPixels) {
    const auto pixels = Pattern();
    const auto file = GoodFile();
    ASSERT_EQ(file.size(), 230454u);
    const auto header = EncodeReferenceHeader();
    EXPECT_TRUE(std::equal(header.begin(), header.end(), file.begin()));
    EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), file.begin() + 54));
}

TEST(ReferencePicture, DecodeRestoresThePixels) {
    const auto file = GoodFile();
    std::vector<uint8_t> out(kReferencePixelBytes, 0xEE);
    EXPECT_TRUE(DecodeReferencePicture(file, ReferencePixels(out.data(), kReferencePixelBytes)));
    EXPECT_EQ(out, Pattern());
}

TEST(ReferencePicture, ImageSizeZeroReadsTheWholePicture) {
    auto file = GoodFile();
    Put32(file, 34, 0);
    EXPECT_EQ(ReferencePixelBytesToRead(file), kReferencePixelBytes);
    std::vector<uint8_t> out(kReferencePixelBytes, 0xEE);
    EXPECT_TRUE(DecodeReferencePicture(file, ReferencePixels(out.data(), kReferencePixelBytes)));
    EXPECT_EQ(out, Pattern());
}

TEST(ReferencePicture, OtherDepthsAndSizesAreBlack) {
    struct Change {
        std::size_t at;
        uint32_t value;
        bool wide;
    };
    const Change changes[] = {{28, 32, false}, {28, 8, false},          {18, 640, true},
                              {22, 480, true}, {22, 0xFFFFFF10u, true},  // height -240: top-down
                              {18, 0, true}};
    for (const Change& c : changes) {
        auto file = GoodFile();
        if (c.wide)
            Put32(file, c.at, c.value);
        else
            Put16(file, c.at, static_cast<uint16_t>(c.value));
        std::vector<uint8_t> out(kReferencePixelBytes, 0xEE);
        EXPECT_FALSE(
            DecodeReferencePicture(file, ReferencePixels(out.data(), kReferencePixelBytes)))
            << c.at << "=" << c.value;
        EXPECT_TRUE(AllZero(out));
    }
}

TEST(ReferencePicture, LargerImageSizeReadsOnlyTheBuffer) {
    auto file = GoodFile();
    Put32(file, 34, 0xFFFFFFFFu);
    file.resize(file.size() + 4096, 0x77);  // more bytes than the buffer after the header
    EXPECT_EQ(ReferencePixelBytesToRead(file), kReferencePixelBytes);
    std::vector<uint8_t> out(kReferencePixelBytes);
    EXPECT_TRUE(DecodeReferencePicture(file, ReferencePixels(out.data(), kReferencePixelBytes)));
    EXPECT_EQ(out, Pattern());
}

TEST(ReferencePicture, SmallerImageSizeLeavesTheRestBlack) {
    auto file = GoodFile();
    Put32(file, 34, 960);  // one row
    std::vector<uint8_t> out(kReferencePixelBytes, 0xEE);
    EXPECT_TRUE(DecodeReferencePicture(file, ReferencePixels(out.data(), kReferencePixelBytes)));
    const auto pixels = Pattern();
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 960, pixels.begin()));
    EXPECT_TRUE(AllZero(std::vector<uint8_t>(out.begin() + 960, out.end())));
}

TEST(ReferencePicture, ShortFilesAreBlack) {
    const auto good = GoodFile();
    for (std::size_t size : {std::size_t{0}, std::size_t{13}, std::size_t{53}, std::size_t{54},
                             std::size_t{1000}, good.size() - 1}) {
        std::vector<uint8_t> file(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
        std::vector<uint8_t> out(kReferencePixelBytes, 0xEE);
        EXPECT_FALSE(
            DecodeReferencePicture(file, ReferencePixels(out.data(), kReferencePixelBytes)))
            << size;
        EXPECT_TRUE(AllZero(out)) << size;
    }
}

TEST(ReferencePicture, DataOffsetFieldIsNotUsed) {
    auto file = GoodFile();
    Put32(file, 10, 0xFFFFFFF0u);
    std::vector<uint8_t> out(kReferencePixelBytes);
    EXPECT_TRUE(DecodeReferencePicture(file, ReferencePixels(out.data(), kReferencePixelBytes)));
    EXPECT_EQ(out, Pattern());
}
