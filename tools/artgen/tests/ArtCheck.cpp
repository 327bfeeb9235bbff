// Checks of the committed skin, layout and resource pictures: formats, sizes, key colour, the
// layout fitting the art, and that the generator still produces exactly the committed bytes.
#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FileCheck.h"
#include "tools/artgen/Artwork.h"

namespace artcheck {
namespace {

constexpr int kWindowWidth = 850;
constexpr int kWindowHeight = 600;
constexpr int kDragRight = 780;  // the view's drag strip: (0, 0)-(780, 28)
constexpr int kDragBottom = 28;

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Intersects(const Rect& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    bool Inside(const Rect& o) const {
        return left >= o.left && top >= o.top && right <= o.right && bottom <= o.bottom;
    }
};

Bitmap LoadBitmap(const std::string& path) {
    const auto bytes = ReadRepoFile(path);
    if (!bytes) {
        ADD_FAILURE() << path << " is missing";
        return {};
    }
    std::string error;
    auto bmp = DecodeBmp24(*bytes, error);
    if (!bmp) {
        ADD_FAILURE() << path << ": " << error;
        return {};
    }
    return *bmp;
}

IniFile LoadLayout() {
    const auto bytes = ReadRepoFile("resources/Layout.ini");
    if (!bytes) {
        ADD_FAILURE() << "resources/Layout.ini is missing";
        return {};
    }
    return ParseIni(*bytes);
}

int LayoutInt(const IniFile& ini, const std::string& section, const std::string& key) {
    const auto value = ini.Get(section, key);
    if (!value) {
        ADD_FAILURE() << "Layout.ini lacks [" << section << "] " << key;
        return 0;
    }
    size_t used = 0;
    int n = 0;
    try {
        n = std::stoi(*value, &used);
    } catch (...) {
        used = 0;
    }
    EXPECT_TRUE(used == value->size() && !value->empty())
        << "[" << section << "] " << key << " = " << *value;
    return n;
}

std::string LayoutText(const IniFile& ini, const std::string& section, const std::string& key) {
    const auto value = ini.Get(section, key);
    EXPECT_TRUE(value.has_value()) << "Layout.ini lacks [" << section << "] " << key;
    return value.value_or("");
}

// The program's placement of the live picture (single-precision scale factors).
Rect PictureRect(const IniFile& ini, int width, int height) {
    const int x = LayoutInt(ini, "Setting View Window", "x"),
              y = LayoutInt(ini, "Setting View Window", "y");
    const int cx = LayoutInt(ini, "Setting View Window", "cx"),
              cy = LayoutInt(ini, "Setting View Window", "cy");
    const float sx = static_cast<float>(width - 210) * 0.0015625f;
    const float sy = static_cast<float>(height - 120) * 0.0020833334f;
    return Rect{x, y, x + static_cast<int>(static_cast<float>(cx) * sx),
                y + static_cast<int>(static_cast<float>(cy) * sy)};
}

Rect ExitRect(const IniFile& ini) {
    const int y = LayoutInt(ini, "Exit Btn", "y");
    const int left = kWindowWidth - 38;
    return Rect{left, y, left + LayoutInt(ini, "Exit Btn", "cx"),
                y + LayoutInt(ini, "Exit Btn", "cy")};
}

Rect MenuRect(const IniFile& ini) {
    const int x = LayoutInt(ini, "Setting Menu Btn", "x"),
              y = LayoutInt(ini, "Setting Menu Btn", "y");
    return Rect{x, y, x + LayoutInt(ini, "Setting Menu Btn", "cx"),
                y + LayoutInt(ini, "Setting Menu Btn", "cy")};
}

int CountKey(const Bitmap& b) {
    return static_cast<int>(std::count(b.pixels.begin(), b.pixels.end(), kKey));
}

TEST(Regeneration, GeneratorReproducesEveryCommittedFile) {
    const auto files = artgen::GenerateAll();
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        const auto committed = ReadRepoFile(file.path);
        ASSERT_TRUE(committed.has_value()) << file.path << " is not committed; run artgen";
        EXPECT_TRUE(*committed == file.bytes)
            << file.path << " differs from what artgen draws; run artgen";
    }
}

TEST(Regeneration, OutputIsTheSameOnEveryRun) {
    const auto first = artgen::GenerateAll();
    const auto second = artgen::GenerateAll();
    ASSERT_EQ(first.size(), second.size());
    std::set<std::string> paths;
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].path, second[i].path);
        EXPECT_TRUE(first[i].bytes == second[i].bytes) << first[i].path;
        EXPECT_TRUE(paths.insert(first[i].path).second) << first[i].path << " written twice";
    }
}

TEST(Regeneration, WritesEveryResourceTheProgramLoads) {
    std::set<std::string> paths;
    for (const auto& file : artgen::GenerateAll()) paths.insert(file.path);
    for (const char* needed :
         {"res/arrow_in.bmp", "res/arrow_out.bmp", "res/tool_184.bmp", "res/tool_185.bmp",
          "res/tool_186.bmp", "res/tool_187.bmp", "res/tool_188.bmp", "res/tool_189.bmp",
          "res/tool_190.bmp", "res/tool_191.bmp", "res/hand_183.cur", "res/tool_192.cur",
          "res/Tallyscope.ico", "resources/Layout.ini", "resources/Lang/HeightTips.bmp"}) {
        EXPECT_TRUE(paths.count(needed)) << needed;
    }
}

TEST(Regeneration, BitmapsLeaveTheirResolutionUnspecified) {
    // GDI+ takes an unspecified resolution as exactly 96 dpi; any stored value (3780 per metre is
    // 96.01 dpi) would make a picture drawn at its natural size come out rescaled.
    for (const auto& file : artgen::GenerateAll()) {
        if (file.path.size() < 4 || file.path.substr(file.path.size() - 4) != ".bmp") continue;
        const auto bytes = ReadRepoFile(file.path);
        ASSERT_TRUE(bytes.has_value()) << file.path;
        ASSERT_GE(bytes->size(), 54u) << file.path;
        EXPECT_EQ(I32(*bytes, 38), 0) << file.path;
        EXPECT_EQ(I32(*bytes, 42), 0) << file.path;
    }
}

TEST(Layout, HasEveryKeyTheSkinLoaderReads) {
    const IniFile ini = LoadLayout();
    EXPECT_TRUE(ini.problems.empty()) << ini.problems.front();
    for (const char* key : {"BU", "BF", "BD", "tip"}) {
        EXPECT_FALSE(LayoutText(ini, "Exit Btn", key).empty());
        EXPECT_FALSE(LayoutText(ini, "Setting Menu Btn", key).empty());
    }
    EXPECT_FALSE(LayoutText(ini, "Background", "BackSetting").empty());
    for (int i = 0; i <= 8; ++i) LayoutInt(ini, std::to_string(i), "ndx");
}

TEST(Layout, BackgroundCoversTheBaseWindow) {
    const IniFile ini = LoadLayout();
    const Bitmap back = LoadBitmap("resources/" + LayoutText(ini, "Background", "BackSetting"));
    EXPECT_EQ(back.width, kWindowWidth);
    EXPECT_EQ(back.height, kWindowHeight);
    EXPECT_EQ(CountKey(back), 0) << "the background must not use the key colour";
}

TEST(Layout, ButtonPicturesMatchTheirButtons) {
    const IniFile ini = LoadLayout();
    for (const char* section : {"Exit Btn", "Setting Menu Btn"}) {
        const Rect r = std::string(section) == "Exit Btn" ? ExitRect(ini) : MenuRect(ini);
        std::vector<Bitmap> states;
        for (const char* key : {"BU", "BF", "BD"}) {
            const Bitmap b = LoadBitmap("resources/" + LayoutText(ini, section, key));
            EXPECT_EQ(b.width, r.right - r.left) << section << " " << key;
            EXPECT_EQ(b.height, r.bottom - r.top) << section << " " << key;
            if (b.width == 0) return;
            // A rounded shape: the corners show the window through, the middle is drawn.
            EXPECT_TRUE(b.IsKey(0, 0) && b.IsKey(b.width - 1, 0) && b.IsKey(0, b.height - 1) &&
                        b.IsKey(b.width - 1, b.height - 1))
                << section << " " << key;
            EXPECT_FALSE(b.IsKey(b.width / 2, b.height / 2)) << section << " " << key;
            EXPECT_LT(CountKey(b), b.width * b.height / 4) << section << " " << key;
            states.push_back(b);
        }
        ASSERT_EQ(states.size(), 3u);
        EXPECT_FALSE(states[0].pixels == states[1].pixels) << section << ": hover looks like up";
        EXPECT_FALSE(states[0].pixels == states[2].pixels) << section << ": down looks like up";
        EXPECT_FALSE(states[1].pixels == states[2].pixels) << section << ": down looks like hover";
    }
}

TEST(Layout, PartsFitTheWindowWithoutOverlapping) {
    const IniFile ini = LoadLayout();
    const Rect window{0, 0, kWindowWidth, kWindowHeight};
    const Rect drag{0, 0, kDragRight, kDragBottom};
    const Rect picture = PictureRect(ini, kWindowWidth, kWindowHeight);
    const Rect exitButton = ExitRect(ini), menuButton = MenuRect(ini);
    EXPECT_EQ(exitButton.left, 812);
    EXPECT_TRUE(picture.Inside(window));
    EXPECT_TRUE(exitButton.Inside(window));
    EXPECT_TRUE(menuButton.Inside(window));
    EXPECT_LE(exitButton.bottom, kDragBottom) << "the Exit button belongs in the title strip";
    EXPECT_FALSE(exitButton.Intersects(drag));
    EXPECT_FALSE(picture.Intersects(drag));
    EXPECT_FALSE(menuButton.Intersects(drag));
    EXPECT_FALSE(picture.Intersects(exitButton));
    EXPECT_FALSE(picture.Intersects(menuButton));
    EXPECT_FALSE(exitButton.Intersects(menuButton));
    // The 320 x 240 camera picture is shown at a whole multiple so no row or column is dropped.
    EXPECT_EQ((picture.right - picture.left) % 320, 0);
    EXPECT_EQ((picture.bottom - picture.top) % 240, 0);
    EXPECT_EQ((picture.right - picture.left) * 3, (picture.bottom - picture.top) * 4);
}

TEST(Layout, BackgroundArtFramesThePictureAndButtons) {
    const IniFile ini = LoadLayout();
    const Bitmap back = LoadBitmap("resources/" + LayoutText(ini, "Background", "BackSetting"));
    ASSERT_EQ(back.width, kWindowWidth);
    const Rect picture = PictureRect(ini, kWindowWidth, kWindowHeight);
    const auto brightness = [&](int x, int y) {
        const Rgb8 p = back.At(x, y);
        return p.r + p.g + p.b;
    };
    // The plate under the picture is near black and plain; the frame around it is lighter.
    for (int y = picture.top; y < picture.bottom; y += 7) {
        EXPECT_LT(brightness(picture.left, y), 3 * 40);
        EXPECT_LT(brightness(picture.right - 1, y), 3 * 40);
    }
    int frameLighter = 0;
    for (int y = picture.top; y < picture.bottom; y += 7) {
        if (brightness(picture.left - 3, y) > brightness(picture.left, y)) ++frameLighter;
    }
    EXPECT_GT(frameLighter, (picture.bottom - picture.top) / 7 * 9 / 10);
    // The title strip is darker than the body between the picture frame and the side panel.
    EXPECT_LT(brightness(400, 14), brightness(picture.right + 10, 100));
}

TEST(Layout, MenuOffersEachCommandOnceInASensibleOrder) {
    const IniFile ini = LoadLayout();
    std::vector<int> order;
    for (int i = 0; i <= 8; ++i) order.push_back(LayoutInt(ini, std::to_string(i), "ndx"));
    std::multiset<int> commands;
    for (int v : order) {
        EXPECT_GE(v, 0);
        EXPECT_LE(v, 8);
        if (v != 8) commands.insert(150 + v);
    }
    for (int command : {150, 151, 152, 153, 154, 156, 157})
        EXPECT_EQ(commands.count(command), 1u) << command;
    EXPECT_EQ(commands.count(155), 0u) << "command 155 does nothing and has no place in the menu";
    EXPECT_NE(order.front(), 8);
    EXPECT_NE(order.back(), 8);
    for (size_t i = 1; i < order.size(); ++i) EXPECT_FALSE(order[i] == 8 && order[i - 1] == 8);
}

// Arrows -------------------------------------------------------------------------------------

struct Opaque {
    int left = 1 << 30, right = -1, count = 0;
    long r = 0, g = 0, b = 0;
};

Opaque OpaqueInRow(const Bitmap& b, int y) {
    Opaque o;
    for (int x = 0; x < b.width; ++x) {
        if (b.IsKey(x, y)) continue;
        o.left = std::min(o.left, x);
        o.right = std::max(o.right, x);
        ++o.count;
        o.r += b.At(x, y).r;
        o.g += b.At(x, y).g;
        o.b += b.At(x, y).b;
    }
    return o;
}

void CheckArrow(const std::string& path, bool blue) {
    const Bitmap a = LoadBitmap(path);
    ASSERT_EQ(a.width, 33) << path;
    ASSERT_EQ(a.height, 15) << path;
    long r = 0, g = 0, b = 0;
    for (int y = 0; y < a.height; ++y) {
        const Opaque o = OpaqueInRow(a, y);
        r += o.r, g += o.g, b += o.b;
        // Rotated about the picture centre, so the shape must be mirror-symmetric about row 7.
        for (int x = 0; x < a.width; ++x) {
            EXPECT_EQ(a.IsKey(x, y), a.IsKey(x, a.height - 1 - y))
                << path << " at " << x << "," << y;
        }
    }
    if (blue) {
        EXPECT_GT(b, r * 2) << path;
        EXPECT_GT(b, g) << path;
    } else {
        EXPECT_GT(r, b * 2) << path;
        EXPECT_GT(r, g * 2) << path;
    }
    // Pointing along +x: the middle row reaches furthest right, the head is wider than the shaft
    // and narrows towards the tip.
    const Opaque middle = OpaqueInRow(a, 7), top = OpaqueInRow(a, 1), shaft = OpaqueInRow(a, 3);
    EXPECT_GE(middle.right, 30) << path;
    EXPECT_LE(middle.left, 2) << path;
    EXPECT_LT(top.right, middle.right) << path;
    EXPECT_GT(top.left, 15) << path << ": the head is on the right";
    EXPECT_GT(shaft.left, 15) << path << ": the shaft is thinner than the head";
    EXPECT_TRUE(a.IsKey(0, 0) && a.IsKey(32, 0) && a.IsKey(0, 14) && a.IsKey(32, 14)) << path;
}

TEST(Resources, InArrowIsABlueArrowPointingRight) {
    CheckArrow("res/arrow_in.bmp", true);
}
TEST(Resources, OutArrowIsARedArrowPointingRight) {
    CheckArrow("res/arrow_out.bmp", false);
}

TEST(Resources, ToolPicturesFitInsideTheButtonFrames) {
    std::vector<std::vector<Rgb8>> seen;
    for (int id = 184; id <= 191; ++id) {
        const std::string path = "res/tool_" + std::to_string(id) + ".bmp";
        const Bitmap t = LoadBitmap(path);
        // 38 x 38 buttons draw the picture at (3, 3); their innermost frame ring covers its edge.
        ASSERT_EQ(t.width, 32) << path;
        ASSERT_EQ(t.height, 32) << path;
        for (int i = 0; i < 32; ++i) {
            EXPECT_TRUE(t.IsKey(i, 0) && t.IsKey(i, 31) && t.IsKey(0, i) && t.IsKey(31, i))
                << path << " edge " << i;
        }
        const int drawn = 32 * 32 - CountKey(t);
        EXPECT_GT(drawn, 32 * 32 / 8) << path;
        for (const auto& other : seen)
            EXPECT_FALSE(other == t.pixels) << path << " repeats another tool";
        seen.push_back(t.pixels);
    }
}

// Cursors and icon ---------------------------------------------------------------------------

struct MonoCursor {
    int hotX = 0, hotY = 0;
    std::vector<int> pixels;  // 32 x 32 top-down: 0 transparent, 1 black, 2 white, 3 inverted
};

std::optional<MonoCursor> DecodeCursor(const std::vector<uint8_t>& b, std::string& error) {
    if (b.size() < 22) return error = "too short", std::nullopt;
    if (U16(b, 0) != 0 || U16(b, 2) != 2 || U16(b, 4) != 1)
        return error = "not a one-image cursor", std::nullopt;
    if (b[6] != 32 || b[7] != 32) return error = "not 32 x 32", std::nullopt;
    MonoCursor c;
    c.hotX = U16(b, 10);
    c.hotY = U16(b, 12);
    const uint32_t size = U32(b, 14), offset = U32(b, 18);
    if (offset != 22 || offset + size != b.size())
        return error = "image size or offset is wrong", std::nullopt;
    if (U32(b, 22) != 40 || I32(b, 26) != 32 || I32(b, 30) != 64 || U16(b, 34) != 1 ||
        U16(b, 36) != 1) {
        return error = "image header is not a 32 x 32 monochrome bitmap", std::nullopt;
    }
    const size_t palette = 22 + 40, xorBits = palette + 8, andBits = xorBits + 128;
    if (andBits + 128 != b.size()) return error = "bit data size is wrong", std::nullopt;
    if (U32(b, palette) != 0 || (U32(b, palette + 4) & 0xFFFFFF) != 0xFFFFFF) {
        return error = "palette is not black, white", std::nullopt;
    }
    c.pixels.resize(32 * 32);
    for (int row = 0; row < 32; ++row) {
        const int y = 31 - row;
        for (int x = 0; x < 32; ++x) {
            const int bit = 0x80 >> (x % 8);
            const bool white = b[xorBits + row * 4 + x / 8] & bit;
            const bool transparent = b[andBits + row * 4 + x / 8] & bit;
            c.pixels[y * 32 + x] = transparent ? (white ? 3 : 0) : (white ? 2 : 1);
        }
    }
    return c;
}

MonoCursor LoadCursor(const std::string& path) {
    const auto bytes = ReadRepoFile(path);
    if (!bytes) {
        ADD_FAILURE() << path << " is missing";
        return {};
    }
    std::string error;
    auto c = DecodeCursor(*bytes, error);
    if (!c) {
        ADD_FAILURE() << path << ": " << error;
        return {};
    }
    return *c;
}

TEST(Resources, HandCursorPointsWithItsHotSpot) {
    const MonoCursor c = LoadCursor("res/hand_183.cur");
    ASSERT_EQ(c.pixels.size(), 32u * 32u);
    EXPECT_EQ(c.pixels[c.hotY * 32 + c.hotX], 1) << "the hot spot is on the black fingertip";
    for (int y = 0; y < c.hotY; ++y) {
        for (int x = 0; x < 32; ++x)
            EXPECT_EQ(c.pixels[y * 32 + x], 0) << "nothing above the fingertip";
    }
    EXPECT_GT(std::count(c.pixels.begin(), c.pixels.end(), 2), 100) << "a white hand";
    EXPECT_EQ(std::count(c.pixels.begin(), c.pixels.end(), 3), 0) << "no inverted pixels";
}

TEST(Resources, ToolCursorIsASymmetricCrossOnItsHotSpot) {
    const MonoCursor c = LoadCursor("res/tool_192.cur");
    ASSERT_EQ(c.pixels.size(), 32u * 32u);
    const int hx = c.hotX, hy = c.hotY;
    EXPECT_EQ(c.pixels[hy * 32 + hx], 1);
    for (int d = 1; d < 16 && hx + d < 32 && hx - d >= 0 && hy + d < 32 && hy - d >= 0; ++d) {
        EXPECT_EQ(c.pixels[hy * 32 + hx + d], c.pixels[hy * 32 + hx - d]) << d;
        EXPECT_EQ(c.pixels[(hy + d) * 32 + hx], c.pixels[(hy - d) * 32 + hx]) << d;
        EXPECT_EQ(c.pixels[hy * 32 + hx + d], c.pixels[(hy + d) * 32 + hx]) << d;
    }
    EXPECT_EQ(c.pixels[hy * 32 + hx + 10], 1) << "black arms";
    EXPECT_EQ(c.pixels[(hy + 1) * 32 + hx + 10], 2) << "edged in white";
}

TEST(Resources, IconHoldsThirtyTwoAndSixteenPixelImagesWithAlpha) {
    const auto bytes = ReadRepoFile("res/Tallyscope.ico");
    ASSERT_TRUE(bytes.has_value());
    const auto& b = *bytes;
    ASSERT_GE(b.size(), 6u);
    ASSERT_EQ(U16(b, 0), 0);
    ASSERT_EQ(U16(b, 2), 1);
    const int count = U16(b, 4);
    ASSERT_EQ(count, 2);
    std::set<int> sizes;
    size_t expectedOffset = 6 + 16 * static_cast<size_t>(count);
    for (int i = 0; i < count; ++i) {
        const size_t e = 6 + 16 * static_cast<size_t>(i);
        const int n = b.at(e);
        sizes.insert(n);
        EXPECT_EQ(b[e + 1], n);
        EXPECT_EQ(U16(b, e + 4), 1);
        EXPECT_EQ(U16(b, e + 6), 32);
        const uint32_t size = U32(b, e + 8), offset = U32(b, e + 12);
        EXPECT_EQ(offset, expectedOffset);
        const size_t maskStride = (static_cast<size_t>(n) + 31) / 32 * 4;
        ASSERT_EQ(size, 40 + static_cast<size_t>(n) * n * 4 + maskStride * n);
        ASSERT_LE(offset + size, b.size());
        expectedOffset = offset + size;
        EXPECT_EQ(U32(b, offset), 40u);
        EXPECT_EQ(I32(b, offset + 4), n);
        EXPECT_EQ(I32(b, offset + 8), 2 * n);
        EXPECT_EQ(U16(b, offset + 14), 32);
        const size_t pixels = offset + 40, mask = pixels + static_cast<size_t>(n) * n * 4;
        const auto alpha = [&](int x, int y) {
            return b[pixels + (static_cast<size_t>(n - 1 - y) * n + x) * 4 + 3];
        };
        const auto masked = [&](int x, int y) {
            return (b[mask + static_cast<size_t>(n - 1 - y) * maskStride + x / 8] &
                    (0x80 >> (x % 8))) != 0;
        };
        // Rounded tile: transparent corners (and masked out for old systems), opaque centre.
        EXPECT_EQ(alpha(0, 0), 0);
        EXPECT_TRUE(masked(0, 0));
        EXPECT_EQ(alpha(n / 2, n / 2), 255);
        EXPECT_FALSE(masked(n / 2, n / 2));
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x)
                EXPECT_EQ(masked(x, y), alpha(x, y) == 0) << n << ": " << x << "," << y;
        }
    }
    EXPECT_EQ(expectedOffset, b.size());
    EXPECT_EQ(sizes, (std::set<int>{16, 32}));
}

TEST(Resources, HeightTipsPictureIsAReasonableSize) {
    const Bitmap t = LoadBitmap("resources/Lang/HeightTips.bmp");
    EXPECT_GE(t.width, 200);
    EXPECT_LE(t.width, 360);
    EXPECT_GE(t.height, 100);
    EXPECT_LE(t.height, 200);
    EXPECT_TRUE(t.IsKey(0, 0)) << "rounded corners show the dialog through";
    EXPECT_LT(CountKey(t), t.width * t.height / 20);
}

}  // namespace
}  // namespace artcheck
