// Writers for the picture formats the program loads: 24-bit Windows bitmaps (skin pictures and
// bitmap resources), icons (32-bit colour with alpha plus the 1-bit mask) and monochrome cursors.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/artgen/Canvas.h"

namespace artgen {

// Bitmaps leave their resolution unspecified: GDI+ then takes them as 96 dots per inch exactly,
// so a picture drawn at its natural size is never rescaled (3780 per metre would be 96.01).
constexpr int32_t kPixelsPerMeterUnspecified = 0;

// BITMAPFILEHEADER + BITMAPINFOHEADER, BI_RGB, bottom-up rows padded to four bytes.
std::vector<uint8_t> EncodeBmp24(const Image24& image);

struct IconImage {
    int size = 0;               // square: width = height
    std::vector<uint8_t> rgba;  // straight alpha, top-down
};
// An icon file holding one 32-bit image per entry, in the order given.
std::vector<uint8_t> EncodeIcon(const std::vector<IconImage>& images);

enum class CursorPixel : uint8_t { kTransparent, kBlack, kWhite };
struct CursorImage {
    int size = 0;  // square, a multiple of 32 bits a row keeps the rows unpadded
    int hotX = 0;
    int hotY = 0;
    std::vector<CursorPixel> pixels;  // top-down
};
// A cursor file with one monochrome image: colour table black, white; AND mask for transparency.
std::vector<uint8_t> EncodeCursor(const CursorImage& cursor);

}  // namespace artgen
