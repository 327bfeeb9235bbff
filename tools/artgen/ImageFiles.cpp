#include "tools/artgen/ImageFiles.h"

#include <utility>

namespace artgen {

namespace {

class ByteWriter {
  public:
    void U8(uint32_t v) { bytes_.push_back(static_cast<uint8_t>(v)); }
    void U16(uint32_t v) {
        U8(v & 0xFF);
        U8((v >> 8) & 0xFF);
    }
    void U32(uint32_t v) {
        U16(v & 0xFFFF);
        U16((v >> 16) & 0xFFFF);
    }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void Append(const std::vector<uint8_t>& more) {
        bytes_.insert(bytes_.end(), more.begin(), more.end());
    }
    size_t Size() const { return bytes_.size(); }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

  private:
    std::vector<uint8_t> bytes_;
};

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kIconDirSize = 6;
constexpr uint32_t kIconEntrySize = 16;

uint32_t RowStride(int width, int bitsPerPixel) {
    return ((static_cast<uint32_t>(width) * static_cast<uint32_t>(bitsPerPixel) + 31) / 32) * 4;
}

void InfoHeader(ByteWriter& w, int width, int height, int bitCount, uint32_t imageSize,
                int32_t pixelsPerMeter, uint32_t colorsUsed) {
    w.U32(kInfoHeaderSize);
    w.I32(width);
    w.I32(height);
    w.U16(1);  // planes
    w.U16(static_cast<uint32_t>(bitCount));
    w.U32(0);  // BI_RGB
    w.U32(imageSize);
    w.I32(pixelsPerMeter);
    w.I32(pixelsPerMeter);
    w.U32(colorsUsed);
    w.U32(0);  // all colours important
}

// The 1-bit AND mask of an icon or cursor image, bottom-up: bit set = transparent.
template <typename IsTransparent>
std::vector<uint8_t> AndMask(int size, IsTransparent transparent) {
    const uint32_t stride = RowStride(size, 1);
    std::vector<uint8_t> mask(stride * static_cast<uint32_t>(size), 0);
    for (int row = 0; row < size; ++row) {
        const int y = size - 1 - row;
        for (int x = 0; x < size; ++x) {
            if (transparent(x, y))
                mask[row * stride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
    }
    return mask;
}

std::vector<uint8_t> IconImageData(const IconImage& image) {
    const int n = image.size;
    const uint32_t xorSize = RowStride(n, 32) * static_cast<uint32_t>(n);
    const std::vector<uint8_t> mask = AndMask(
        n, [&](int x, int y) { return image.rgba[(static_cast<size_t>(y) * n + x) * 4 + 3] == 0; });
    ByteWriter w;
    InfoHeader(w, n, 2 * n, 32, xorSize + static_cast<uint32_t>(mask.size()), 0, 0);
    for (int row = 0; row < n; ++row) {
        const int y = n - 1 - row;
        for (int x = 0; x < n; ++x) {
            const size_t i = (static_cast<size_t>(y) * n + x) * 4;
            w.U8(image.rgba[i + 2]);
            w.U8(image.rgba[i + 1]);
            w.U8(image.rgba[i]);
            w.U8(image.rgba[i + 3]);
        }
    }
    w.Append(mask);
    return w.Take();
}

}  // namespace

std::vector<uint8_t> EncodeBmp24(const Image24& image) {
    const uint32_t stride = RowStride(image.width, 24);
    const uint32_t imageSize = stride * static_cast<uint32_t>(image.height);
    ByteWriter w;
    w.U8('B');
    w.U8('M');
    w.U32(kFileHeaderSize + kInfoHeaderSize + imageSize);
    w.U16(0);
    w.U16(0);
    w.U32(kFileHeaderSize + kInfoHeaderSize);
    InfoHeader(w, image.width, image.height, 24, imageSize, kPixelsPerMeterUnspecified, 0);
    for (int row = 0; row < image.height; ++row) {
        const int y = image.height - 1 - row;
        for (int x = 0; x < image.width; ++x) {
            const size_t i = (static_cast<size_t>(y) * image.width + x) * 3;
            w.U8(image.rgb[i + 2]);
            w.U8(image.rgb[i + 1]);
            w.U8(image.rgb[i]);
        }
        for (uint32_t pad = static_cast<uint32_t>(image.width) * 3; pad < stride; ++pad) w.U8(0);
    }
    return w.Take();
}

std::vector<uint8_t> EncodeIcon(const std::vector<IconImage>& images) {
    std::vector<std::vector<uint8_t>> data;
    for (const IconImage& image : images) data.push_back(IconImageData(image));
    ByteWriter w;
    w.U16(0);  // reserved
    w.U16(1);  // icon
    w.U16(static_cast<uint32_t>(images.size()));
    uint32_t offset = kIconDirSize + kIconEntrySize * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int n = images[i].size;
        w.U8(n >= 256 ? 0 : static_cast<uint32_t>(n));
        w.U8(n >= 256 ? 0 : static_cast<uint32_t>(n));
        w.U8(0);   // no palette
        w.U8(0);   // reserved
        w.U16(1);  // planes
        w.U16(32);
        w.U32(static_cast<uint32_t>(data[i].size()));
        w.U32(offset);
        offset += static_cast<uint32_t>(data[i].size());
    }
    for (const auto& d : data) w.Append(d);
    return w.Take();
}

std::vector<uint8_t> EncodeCursor(const CursorImage& cursor) {
    const int n = cursor.size;
    const auto at = [&](int x, int y) { return cursor.pixels[static_cast<size_t>(y) * n + x]; };
    const uint32_t stride = RowStride(n, 1);
    std::vector<uint8_t> colorBits(stride * static_cast<uint32_t>(n), 0);
    for (int row = 0; row < n; ++row) {
        const int y = n - 1 - row;
        for (int x = 0; x < n; ++x) {
            if (at(x, y) == CursorPixel::kWhite)
                colorBits[row * stride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
    }
    const std::vector<uint8_t> mask =
        AndMask(n, [&](int x, int y) { return at(x, y) == CursorPixel::kTransparent; });

    ByteWriter image;
    InfoHeader(image, n, 2 * n, 1, static_cast<uint32_t>(colorBits.size() + mask.size()), 0, 2);
    image.U32(0x00000000);  // palette entry 0: black
    image.U32(0x00FFFFFF);  // palette entry 1: white
    image.Append(colorBits);
    image.Append(mask);
    const std::vector<uint8_t> data = image.Take();

    ByteWriter w;
    w.U16(0);  // reserved
    w.U16(2);  // cursor
    w.U16(1);
    w.U8(static_cast<uint32_t>(n));
    w.U8(static_cast<uint32_t>(n));
    w.U8(2);  // colours in the image
    w.U8(0);
    w.U16(static_cast<uint32_t>(cursor.hotX));
    w.U16(static_cast<uint32_t>(cursor.hotY));
    w.U32(static_cast<uint32_t>(data.size()));
    w.U32(kIconDirSize + kIconEntrySize);
    w.Append(data);
    return w.Take();
}

}  // namespace artgen
