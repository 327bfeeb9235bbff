#include "settings/ReferencePicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

using namespace settings;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Put(Bytes file, std::size_t at, uint32_t value, int width = 4) {
    for (int i = 0; i < width; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
    return file;
}

Bytes Pattern() {
    Bytes pixels(kReferencePixelBytes);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 7 + 3);
    return pixels;
}

Bytes GoodFile() {
    const auto pixels = Pattern();
    return EncodeReferencePicture(ConstReferencePixels(pixels.data(), kReferencePixelBytes));
}

// Decodes into a buffer that starts out neither black nor the pattern.
bool Decode(const Bytes& file, Bytes& out) {
    out.assign(kReferencePixelBytes, 0xEE);
    return DecodeReferencePicture(file, ReferencePixels(out.data(), kReferencePixelBytes));
}

}  // namespace

TEST(ReferencePicture, FileIsTheFixedHeaderThenThePixels) {
    const uint8_t header[54] = {'B',  'M',  0x36, 0x84, 0x03, 0x00,  // 230454
                                0,    0,    0,    0,                 // reserved
                                54,   0,    0,    0,                 // pixel offset
                                40,   0,    0,    0,                 // info header
                                0x40, 0x01, 0,    0,                 // 320
                                0xF0, 0,    0,    0,                 // 240
                                1,    0,    24,   0,                 // planes, bits
                                0,    0,    0,    0,                 // BI_RGB
                                0x00, 0x84, 0x03, 0x00,              // 230400
                                0,    0,    0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(EncodeReferenceHeader().data(), header, sizeof header), 0);
    const auto pixels = Pattern();
    const auto file = GoodFile();
    ASSERT_EQ(file.size(), 230454u);
    EXPECT_TRUE(std::equal(header, header + 54, file.begin()));
    EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), file.begin() + 54));
}

TEST(ReferencePicture, DecodeRestoresThePixelsWhateverTheSizeAndOffsetFieldsSay) {
    const struct {
        const char* what;
        Bytes file;
    } cases[] = {{"as written", GoodFile()},
                 {"image size 0: the whole picture", Put(GoodFile(), 34, 0)},
                 {"data offset unused", Put(GoodFile(), 10, 0xFFFFFFF0u)}};
    for (const auto& c : cases) {
        EXPECT_EQ(ReferencePixelBytesToRead(c.file), kReferencePixelBytes) << c.what;
        Bytes out;
        EXPECT_TRUE(Decode(c.file, out)) << c.what;
        EXPECT_EQ(out, Pattern()) << c.what;
    }
    // A larger image size with more bytes than the buffer reads only the buffer.
    Bytes longer = Put(GoodFile(), 34, 0xFFFFFFFFu);
    longer.resize(longer.size() + 4096, 0x77);
    EXPECT_EQ(ReferencePixelBytesToRead(longer), kReferencePixelBytes);
    Bytes out;
    EXPECT_TRUE(Decode(longer, out));
    EXPECT_EQ(out, Pattern());
    // A smaller one reads that much and leaves the rest black.
    EXPECT_TRUE(Decode(Put(GoodFile(), 34, 960), out));  // one row
    const auto pixels = Pattern();
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 960, pixels.begin()));
    EXPECT_TRUE(std::all_of(out.begin() + 960, out.end(), [](uint8_t b) { return b == 0; }));
}

TEST(ReferencePicture, OtherDepthsSizesAndShortFilesAreBlack) {
    const Bytes good = GoodFile();
    const auto cut = [&](std::size_t size) {
        return Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
    };
    const struct {
        const char* what;
        Bytes file;
    } cases[] = {{"32 bits", Put(good, 28, 32, 2)},
                 {"8 bits", Put(good, 28, 8, 2)},
                 {"width 640", Put(good, 18, 640)},
                 {"height 480", Put(good, 22, 480)},
                 {"top-down", Put(good, 22, 0xFFFFFF10u)},
                 {"width 0", Put(good, 18, 0)},
                 {"empty", cut(0)},
                 {"13 bytes", cut(13)},
                 {"53 bytes", cut(53)},
                 {"header only", cut(54)},
                 {"1000 bytes", cut(1000)},
                 {"one byte short", cut(good.size() - 1)}};
    for (const auto& c : cases) {
        Bytes out;
        EXPECT_FALSE(Decode(c.file, out)) << c.what;
        EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](uint8_t b) { return b == 0; }))
            << c.what;
    }
}
