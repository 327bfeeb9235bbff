#include "tools/artgen/Artwork.h"

#include <fstream>
#include <functional>
#include <sstream>
#include <utility>

#include "tools/artgen/ImageFiles.h"
#include "tools/artgen/PixelFont.h"
#include "tools/artgen/SkinLayout.h"

namespace artgen {

namespace {

using namespace skin;

// Fixed angles as constants (no run-time trigonometry, so the output never depends on libm).
constexpr double kCos45 = 0.70710678118654752;
constexpr double kCos65 = 0.42261826174069944;  // camera axis in the tips picture
constexpr double kSin65 = 0.90630778703664996;
constexpr double kCos35 = 0.81915204428899179;  // edges of its view cone, 30 degrees either side
constexpr double kSin35 = 0.57357643635104609;
constexpr double kCos95 = -0.08715574274765817;
constexpr double kSin95 = 0.99619469809174553;

constexpr Color kWhite = Rgb(255, 255, 255);
constexpr Color kBlack = Rgb(0, 0, 0);
constexpr Color kInk = Rgb(28, 36, 52);

void Emit(std::vector<GeneratedFile>& files, std::string path, std::vector<uint8_t> bytes) {
    files.push_back(GeneratedFile{std::move(path), std::move(bytes)});
}

Point Centroid(const std::vector<Point>& pts) {
    Point c;
    for (const Point& p : pts) {
        c.x += p.x;
        c.y += p.y;
    }
    c.x /= static_cast<double>(pts.size());
    c.y /= static_cast<double>(pts.size());
    return c;
}

std::vector<Point> ShrinkToward(const std::vector<Point>& pts, Point c, double factor) {
    std::vector<Point> out;
    for (const Point& p : pts)
        out.push_back(Point{c.x + (p.x - c.x) * factor, c.y + (p.y - c.y) * factor});
    return out;
}

// Text with a soft dark drop shadow one pixel down and right.
void ShadowText(Canvas& c, int x, int y, const std::string& text, int scale, Color color) {
    c.Text(x + 1, y + 1, text, scale, kBlack, 0.55f);
    c.Text(x, y, text, scale, color);
}

int CenteredX(double centre, const std::string& text, int scale) {
    return static_cast<int>(centre) - TextWidth(text, scale) / 2;
}

// ---------------------------------------------------------------------------------------------
// Product mark: a stereo camera above a counting line, designed in a 32 x 32 box.

void DrawMark(Canvas& c, double ox, double oy, double s, bool withTile, float o = 1.0f) {
    const auto X = [&](double v) { return ox + v * s; };
    const auto Y = [&](double v) { return oy + v * s; };
    const auto R = [&](double v) { return v * s; };
    if (withTile) {
        c.Fill(RoundRect(X(0.5), Y(0.5), X(31.5), Y(31.5), R(6)),
               VerticalGradient(Y(0), Rgb(34, 108, 142), Y(32), Rgb(12, 42, 60)), o);
        c.Fill(RoundRect(X(1.5), Y(1.5), X(30.5), Y(14), R(5)), Solid(kWhite), 0.08f * o);
    }
    c.Fill(RoundRect(X(12.5), Y(5), X(19.5), Y(10), R(1)), Solid(Rgb(150, 162, 174)), o);
    c.Fill(RoundRect(X(2.5), Y(8.5), X(29.5), Y(21.5), R(3)),
           VerticalGradient(Y(8.5), Rgb(238, 242, 246), Y(21.5), Rgb(166, 177, 188)), o);
    for (double lensX : {9, 23}) {
        c.Fill(Circle(X(lensX), Y(15), R(4.8)), Solid(Rgb(96, 106, 118)), o);
        c.Fill(Circle(X(lensX), Y(15), R(3.9)), Solid(Rgb(20, 24, 30)), o);
        c.Fill(Circle(X(lensX), Y(15), R(2.5)),
               VerticalGradient(Y(12.5), Rgb(70, 150, 210), Y(17.5), Rgb(18, 64, 110)), o);
        if (s >= 0.75) c.Fill(Circle(X(lensX - 0.9), Y(14), R(0.9)), Solid(kWhite), 0.85f * o);
    }
    c.Fill(Circle(X(16), Y(12), R(1.1)), Solid(Rgb(0, 200, 120)), o);
    // The counting line on the floor, crossed by an arrow.
    for (double x0 : {3.0, 10.5, 18.0, 25.5}) {
        c.Fill(RoundRect(X(x0), Y(26), X(x0 + 3.5), Y(28), R(0.8)),
               HorizontalGradient(X(3), Rgb(0, 214, 150), X(29), Rgb(0, 170, 210)), o);
    }
    c.Fill(Polygon({{X(16), Y(22.5)}, {X(19.5), Y(26.5)}, {X(12.5), Y(26.5)}}),
           Solid(Rgb(255, 196, 40)), o);
    c.Fill(RectShape(X(14.8), Y(26), X(17.2), Y(30)), Solid(Rgb(255, 196, 40)), o);
}

// ---------------------------------------------------------------------------------------------
// Skin

Image24 PaintBackgroundImpl() {
    Canvas c(kWidth, kHeight);
    c.Fill(RectShape(0, 0, kWidth, kHeight),
           VerticalGradient(0, Rgb(42, 49, 58), kHeight, Rgb(20, 24, 29)));
    // A soft sheen, strongest at the left.
    c.Fill(RectShape(0, 0, kWidth, kHeight),
           HorizontalGradient(0, Rgb(70, 84, 98), kWidth, Rgb(30, 36, 43)), 0.15f);

    // Title strip, the part the window is dragged by.
    c.Fill(RectShape(0, 0, kWidth, kTitleHeight),
           VerticalGradient(0, Rgb(32, 38, 46), kTitleHeight, Rgb(13, 16, 20)));
    c.Fill(RectShape(0, 0, kWidth, 1), Solid(Rgb(66, 76, 88)));
    c.Fill(RectShape(0, kTitleHeight, kWidth, kTitleHeight + 1),
           HorizontalGradient(0, Rgb(0, 160, 210), kWidth, Rgb(0, 84, 120)));
    c.Fill(RectShape(0, kTitleHeight + 1, kWidth, kTitleHeight + 2), Solid(Rgb(9, 11, 14)));
    DrawMark(c, 6, 2, 24.0 / 32.0, true);
    ShadowText(c, 38, 5, "Tallyscope", 2, Rgb(234, 240, 246));
    const int subtitleX = 38 + TextWidth("Tallyscope", 2) + 10;
    c.Text(subtitleX, 12, "SETTINGS", 1, Rgb(110, 170, 200));

    // Live-picture frame: rim, bevel, a dark plate where the picture goes.
    c.Fill(RoundRect(kFrameLeft - 1, kFrameTop - 1, kFrameRight + 1, kFrameBottom + 1, 5),
           Solid(Rgb(74, 86, 100)));
    c.Fill(RoundRect(kFrameLeft, kFrameTop, kFrameRight, kFrameBottom, 4),
           VerticalGradient(kFrameTop, Rgb(28, 33, 40), kFrameBottom, Rgb(15, 18, 22)));
    const int pr = kPictureLeft + kPictureWidth, pb = kPictureTop + kPictureHeight;
    c.Fill(RectShape(kPictureLeft - 1, kPictureTop - 1, pr + 1, pb + 1), Solid(Rgb(5, 6, 8)));
    c.Fill(RectShape(kPictureLeft, kPictureTop, pr, pb),
           VerticalGradient(kPictureTop, Rgb(14, 16, 20), pb, Rgb(5, 6, 7)));
    // Shown until the first camera picture arrives.
    const double midX = kPictureLeft + kPictureWidth / 2.0,
                 midY = kPictureTop + kPictureHeight / 2.0;
    DrawMark(c, midX - 24, midY - 62, 1.5, false, 0.4f);
    c.Text(CenteredX(midX, "NO SIGNAL", 3), static_cast<int>(midY), "NO SIGNAL", 3,
           Rgb(64, 72, 84));

    // Side panel with the product mark.
    c.Fill(RoundRect(kPanelLeft - 1, kPanelTop - 1, kPanelRight + 1, kPanelBottom + 1, 7),
           Solid(Rgb(66, 77, 90)));
    c.Fill(RoundRect(kPanelLeft, kPanelTop, kPanelRight, kPanelBottom, 6),
           VerticalGradient(kPanelTop, Rgb(48, 56, 67), kPanelBottom, Rgb(29, 34, 41)));
    const double panelMid = (kPanelLeft + kPanelRight) / 2.0;
    DrawMark(c, panelMid - 40, 58, 2.5, true);
    ShadowText(c, CenteredX(panelMid, "Tallyscope", 2), 152, "Tallyscope", 2, Rgb(234, 240, 246));
    c.Fill(RectShape(kPanelLeft + 18, 182, kPanelRight - 18, 183), Solid(Rgb(16, 19, 23)));
    c.Fill(RectShape(kPanelLeft + 18, 183, kPanelRight - 18, 184), Solid(Rgb(78, 90, 104)));
    c.Text(CenteredX(panelMid, "STEREO", 1), 194, "STEREO", 1, Rgb(130, 150, 168));
    c.Text(CenteredX(panelMid, "PEOPLE COUNTER", 1), 206, "PEOPLE COUNTER", 1, Rgb(130, 150, 168));
    // A fine dot pattern in the lower panel.
    for (int y = 436; y <= 500; y += 6) {
        for (int x = kPanelLeft + 16; x <= kPanelRight - 16; x += 6)
            c.BlendPixel(x, y, kWhite, 0.07f);
    }

    // Footer bar carrying the settings-menu button.
    c.Fill(RoundRect(kFooterLeft - 1, kFooterTop - 1, kFooterRight + 1, kFooterBottom + 1, 7),
           Solid(Rgb(66, 77, 90)));
    c.Fill(RoundRect(kFooterLeft, kFooterTop, kFooterRight, kFooterBottom, 6),
           VerticalGradient(kFooterTop, Rgb(45, 53, 63), kFooterBottom, Rgb(27, 32, 39)));
    const int footerTextY = (kFooterTop + kFooterBottom) / 2 - 3;
    c.Text(kFooterLeft + 14, footerTextY, "PEOPLE COUNTER SETUP", 1, Rgb(112, 128, 144));
    const int grooveLeft = kFooterLeft + 14 + TextWidth("PEOPLE COUNTER SETUP", 1) + 12;
    c.Fill(RectShape(grooveLeft, footerTextY + 3, kMenuLeft - 14, footerTextY + 4),
           Solid(Rgb(17, 20, 25)));
    c.Fill(RectShape(grooveLeft, footerTextY + 4, kMenuLeft - 14, footerTextY + 5),
           Solid(Rgb(70, 82, 96)));
    return c.Flatten();
}

// Exit button: a round plate with an X.
Image24 PaintExit(const Image24& back, int state) {  // 0 up, 1 hover, 2 down
    Canvas c(kExitSize, kExitSize);
    const double mid = kExitSize / 2.0, shift = state == 2 ? 1.0 : 0.0;
    Color rim = Rgb(112, 120, 130), top = Rgb(80, 88, 98), bottom = Rgb(48, 54, 62),
          mark = Rgb(226, 230, 236);
    if (state == 1) {
        rim = Rgb(255, 128, 116), top = Rgb(228, 72, 60), bottom = Rgb(166, 34, 26), mark = kWhite;
    } else if (state == 2) {
        rim = Rgb(150, 52, 42), top = Rgb(128, 28, 22), bottom = Rgb(178, 46, 36),
        mark = Rgb(244, 222, 220);
    }
    c.Fill(Circle(mid, mid, mid - 0.5), Solid(rim));
    c.Fill(Circle(mid, mid, mid - 1.5), VerticalGradient(1, top, kExitSize - 1, bottom));
    if (state != 2) c.Fill(Ellipse(mid, mid - 5, 7, 4), Solid(kWhite), 0.10f);
    const double a = 8 + shift, b = 16 + shift;
    c.Fill(Capsule(Point{a, a}, Point{b, b}, 1.5), Solid(mark));
    c.Fill(Capsule(Point{b, a}, Point{a, b}, 1.5), Solid(mark));
    return c.KeyedOver(back, kExitLeft, kExitTop);
}

// A gear of eight teeth: four bars through the centre, cut to the outer circle, plus the body.
Shape Gear(double cx, double cy, double outer, double body, double hole, double toothHalf) {
    const Inside teeth = [=](double x, double y) {
        const double vx = x - cx, vy = y - cy;
        const double across[4] = {vy, vx, (vx - vy) * kCos45, (vx + vy) * kCos45};
        for (double d : across) {
            if (d <= toothHalf && d >= -toothHalf) return true;
        }
        return false;
    };
    Shape bars{Box{cx - outer, cy - outer, cx + outer, cy + outer}, teeth};
    Shape wheel = Union(Intersect(bars, Circle(cx, cy, outer)), Circle(cx, cy, body));
    return Minus(std::move(wheel), Circle(cx, cy, hole));
}

// Settings-menu button: a rounded plate with a gear and the word SETTINGS.
Image24 PaintMenu(const Image24& back, int state) {
    Canvas c(kMenuWidth, kMenuHeight);
    const double w = kMenuWidth, h = kMenuHeight, shift = state == 2 ? 1.0 : 0.0;
    Color rim = Rgb(98, 114, 132), top = Rgb(76, 88, 102), bottom = Rgb(46, 54, 64),
          mark = Rgb(214, 222, 230);
    if (state == 1) {
        rim = Rgb(0, 176, 226), top = Rgb(90, 106, 124), bottom = Rgb(56, 66, 78), mark = kWhite;
    } else if (state == 2) {
        rim = Rgb(0, 130, 170), top = Rgb(34, 40, 48), bottom = Rgb(56, 64, 76),
        mark = Rgb(150, 220, 245);
    }
    c.Fill(RoundRect(0.5, 0.5, w - 0.5, h - 0.5, 7), Solid(rim));
    c.Fill(RoundRect(1.5, 1.5, w - 1.5, h - 1.5, 6), VerticalGradient(1, top, h - 1, bottom));
    if (state != 2) c.Fill(RoundRect(2.5, 2.5, w - 2.5, h / 2, 5), Solid(kWhite), 0.07f);
    const double gx = w / 2 + shift, gy = 22 + shift;
    c.Fill(Translated(Gear(gx, gy, 12.5, 9.2, 3.8, 2.6), 0.8, 0.8), Solid(kBlack), 0.35f);
    c.Fill(Gear(gx, gy, 12.5, 9.2, 3.8, 2.6),
           VerticalGradient(gy - 12, mark, gy + 12,
                            Color{mark.r * 0.78f, mark.g * 0.78f, mark.b * 0.8f}));
    const int textX = (kMenuWidth - TextWidth("SETTINGS", 1)) / 2 + static_cast<int>(shift);
    c.Text(textX + 1, 43 + static_cast<int>(shift), "SETTINGS", 1, kBlack, 0.5f);
    c.Text(textX, 42 + static_cast<int>(shift), "SETTINGS", 1, mark);
    return c.KeyedOver(back, kMenuLeft, kMenuTop);
}

// ---------------------------------------------------------------------------------------------
// Program resources

// In (blue) and Out (red) arrows, 33 x 15, pointing along +x; the program turns them.
Image24 PaintArrow(Color light, Color fill, Color outline) {
    Canvas c(33, 15);
    c.Fill(Polygon({{0.5, 4.5},
                    {18.5, 4.5},
                    {18.5, 0.5},
                    {32.8, 7.5},
                    {18.5, 14.5},
                    {18.5, 10.5},
                    {0.5, 10.5}}),
           Solid(outline));
    c.Fill(Polygon({{1.5, 5.5},
                    {19.5, 5.5},
                    {19.5, 2.9},
                    {30.5, 7.5},
                    {19.5, 12.1},
                    {19.5, 9.5},
                    {1.5, 9.5}}),
           VerticalGradient(2, light, 13, fill));
    return c.Keyed(0.5f);
}

const Paint& MaskHatch() {
    static const Paint hatch = Hatch(Rgb(64, 114, 206), Rgb(150, 184, 236), 4, 2);
    return hatch;
}

void OutlinedPolygon(Canvas& c, const std::vector<Point>& pts, const Paint& inner, double shrink) {
    c.Fill(Polygon(pts), Solid(kInk));
    c.Fill(Polygon(ShrinkToward(pts, Centroid(pts), shrink)), inner);
}

void Handle(Canvas& c, Point p) {
    c.Fill(RectShape(p.x - 2.5, p.y - 2.5, p.x + 2.5, p.y + 2.5), Solid(kInk));
    c.Fill(RectShape(p.x - 1.5, p.y - 1.5, p.x + 1.5, p.y + 1.5), Solid(kWhite));
}

// Tool button pictures, 32 x 32: drawn at (3, 3) inside the 38 x 38 framed buttons.
Image24 PaintTool(int id) {
    constexpr int kSize = 32;
    Canvas c(kSize, kSize);
    switch (id) {
        case 184: {  // Draw Line
            const Point a{7, 25}, b{25, 7};
            c.Fill(Capsule(a, b, 2.7), Solid(kInk));
            c.Fill(Capsule(a, b, 1.4), Solid(Rgb(0, 200, 110)));
            Handle(c, a);
            Handle(c, b);
            break;
        }
        case 185: {  // Delete Line
            c.Fill(Capsule(Point{5, 23}, Point{22, 6}, 2.5), Solid(Rgb(96, 100, 108)));
            c.Fill(Capsule(Point{5, 23}, Point{22, 6}, 1.2), Solid(Rgb(184, 188, 194)));
            for (const auto& [p, q] : {std::pair{Point{15, 15}, Point{27, 27}},
                                       std::pair{Point{27, 15}, Point{15, 27}}}) {
                c.Fill(Capsule(p, q, 2.9), Solid(Rgb(120, 0, 0)));
            }
            for (const auto& [p, q] : {std::pair{Point{15, 15}, Point{27, 27}},
                                       std::pair{Point{27, 15}, Point{15, 27}}}) {
                c.Fill(Capsule(p, q, 1.7), Solid(Rgb(232, 44, 40)));
            }
            break;
        }
        case 186: {  // ALL: the whole picture masked
            c.Fill(RectShape(3, 4, 29, 28), Solid(kInk));
            c.Fill(RectShape(4, 5, 28, 27), MaskHatch());
            c.Fill(RoundRect(5.5, 11, 26.5, 22, 2), Solid(kInk));
            c.Fill(RoundRect(6.5, 12, 25.5, 21, 1.5), Solid(kWhite));
            c.Text((kSize - TextWidth("ALL", 1)) / 2, 13, "ALL", 1, kInk);
            break;
        }
        case 187:  // Ellipse
            c.Fill(Ellipse(16, 16, 13.5, 10), Solid(kInk));
            c.Fill(Ellipse(16, 16, 12, 8.5), MaskHatch());
            break;
        case 188:  // Rectangular
            c.Fill(RectShape(4, 7, 28, 25), Solid(kInk));
            c.Fill(RectShape(5.5, 8.5, 26.5, 23.5), MaskHatch());
            break;
        case 189: {  // Irregular
            const std::vector<Point> pts = {{4, 13}, {13, 4}, {28, 9}, {25, 21}, {14, 28}, {5, 23}};
            OutlinedPolygon(c, pts, MaskHatch(), 0.86);
            for (const Point& p : pts) Handle(c, p);
            break;
        }
        case 190: {  // COLOR
            const Color swatches[4] = {Rgb(232, 52, 52), Rgb(40, 182, 72), Rgb(44, 104, 232),
                                       Rgb(250, 170, 24)};
            for (int i = 0; i < 4; ++i) {
                const double x = i % 2 == 0 ? 3 : 17, y = i < 2 ? 3 : 17;
                c.Fill(RoundRect(x, y, x + 12, y + 12, 2), Solid(kInk));
                c.Fill(RoundRect(x + 1, y + 1, x + 11, y + 11, 1.5), Solid(swatches[i]));
                c.Fill(RectShape(x + 2, y + 2, x + 10, y + 5), Solid(kWhite), 0.3f);
            }
            break;
        }
        case 191: {  // CLEAR: an eraser
            const Point a{4, 19}, b{16, 7}, cc{25, 16}, d{13, 28};
            const Point p1{a.x + (b.x - a.x) * 0.45, a.y + (b.y - a.y) * 0.45};
            const Point p2{d.x + (cc.x - d.x) * 0.45, d.y + (cc.y - d.y) * 0.45};
            c.Fill(Polygon({a, b, cc, d}), Solid(kInk));
            const std::vector<Point> sleeve = {a, p1, p2, d}, tip = {p1, b, cc, p2};
            c.Fill(Polygon(ShrinkToward(sleeve, Centroid(sleeve), 0.8)), Solid(Rgb(64, 114, 206)));
            c.Fill(Polygon(ShrinkToward(tip, Centroid(tip), 0.8)), Solid(Rgb(246, 142, 162)));
            c.Fill(RectShape(15, 27.5, 29, 29), Solid(kInk));
            break;
        }
        default:
            break;
    }
    return c.Keyed(0.5f);
}

CursorImage CursorFromArt(const std::vector<std::string>& art, int hotX, int hotY) {
    CursorImage cur;
    cur.size = 32;
    cur.hotX = hotX;
    cur.hotY = hotY;
    cur.pixels.assign(32 * 32, CursorPixel::kTransparent);
    for (size_t y = 0; y < art.size() && y < 32; ++y) {
        for (size_t x = 0; x < art[y].size() && x < 32; ++x) {
            const char ch = art[y][x];
            cur.pixels[y * 32 + x] = ch == 'X'   ? CursorPixel::kBlack
                                     : ch == 'o' ? CursorPixel::kWhite
                                                 : CursorPixel::kTransparent;
        }
    }
    return cur;
}

// Pointing hand for links; the hot spot is the tip of the index finger.
CursorImage HandCursor() {
    return CursorFromArt({".....XX..........",  //
                          "....XooX.........",  //
                          "....XooX.........",  //
                          "....XooX.........",  //
                          "....XooX.........",  //
                          "....XooXXX.......",  //
                          "....XooXooXXX....",  //
                          "....XooXooXooXX..",  //
                          "....XooXooXooXoX.",  //
                          ".XX.XooXooXooXooX",  //
                          "XooXXoooooooooooX",  //
                          "XoooXoooooooooooX",  //
                          ".XooXoooooooooooX",  //
                          "..XoooooooooooooX",  //
                          "..XoooooooooooooX",  //
                          "...XooooooooooooX",  //
                          "...XoooooooooooX.",  //
                          "....XooooooooooX.",  //
                          "....XooooooooooX.",  //
                          ".....XooooooooX..",  //
                          ".....XooooooooX..",  //
                          ".....XXXXXXXXXX.."},
                         5, 0);
}

// Cross hair for the drawing tools: black lines edged in white so they show on any picture,
// a gap around the hot spot and a dot on it.
CursorImage CrossCursor() {
    constexpr int kCentre = 15;
    std::vector<std::string> art(32, std::string(32, '.'));
    const auto black = [&](int x, int y) { art[y][x] = 'X'; };
    for (int i = 1; i <= 29; ++i) {
        if (i >= kCentre - 3 && i <= kCentre + 3) continue;
        black(i, kCentre);
        black(kCentre, i);
    }
    black(kCentre, kCentre);
    std::vector<std::string> out = art;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (art[y][x] != '.') continue;
            bool edge = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < 32 && ny < 32 && art[ny][nx] == 'X') edge = true;
                }
            }
            if (edge) out[y][x] = 'o';
        }
    }
    return CursorFromArt(out, kCentre, kCentre);
}

IconImage AppIcon(int size) {
    Canvas c(size, size);
    DrawMark(c, 0, 0, size / 32.0, true);
    return IconImage{size, c.Rgba()};
}

// Side view for the height-detection tips: camera on the ceiling tilted 60..75 degrees, its view
// cone, a person on the counting line, the mounting height, and the picture with a level line.
Image24 PaintHeightTips() {
    constexpr int kW = 300, kH = 150;
    Canvas c(kW, kH);
    c.Fill(RoundRect(0.5, 0.5, kW - 0.5, kH - 0.5, 10), Solid(Rgb(128, 143, 158)));
    c.Fill(RoundRect(1.5, 1.5, kW - 1.5, kH - 1.5, 9),
           VerticalGradient(0, Rgb(246, 249, 252), kH, Rgb(218, 227, 236)));

    const Color structure = Rgb(72, 82, 98), ticks = Rgb(128, 138, 152);
    constexpr double kCeiling = 14, kFloor = 126;
    c.Fill(RectShape(12, kCeiling - 2, kW - 12, kCeiling), Solid(structure));
    c.Fill(RectShape(12, kFloor, kW - 12, kFloor + 2), Solid(structure));
    for (int x = 18; x <= kW - 20; x += 9) {
        c.Fill(Capsule(Point{x - 5.0, kCeiling - 8}, Point{x + 0.0, kCeiling - 3}, 0.6),
               Solid(ticks));
        c.Fill(Capsule(Point{x + 0.0, kFloor + 3}, Point{x - 5.0, kFloor + 8}, 0.6), Solid(ticks));
    }

    // Camera, its axis 65 degrees below the horizontal.
    const Point cam{64, 32};
    const Point axis{kCos65, kSin65}, across{-kSin65, kCos65};
    const auto at = [&](double along, double side) {
        return Point{cam.x + axis.x * along + across.x * side,
                     cam.y + axis.y * along + across.y * side};
    };
    const Point apex = at(11, 0);
    const Point farEdge{apex.x + (kFloor - apex.y) * kCos35 / kSin35, kFloor};
    const Point nearEdge{apex.x + (kFloor - apex.y) * kCos95 / kSin95, kFloor};
    c.Fill(Polygon({apex, nearEdge, farEdge}), Solid(Rgb(116, 168, 232)), 0.35f);
    c.Fill(Capsule(apex, nearEdge, 0.6), Solid(Rgb(80, 130, 200)), 0.8f);
    c.Fill(Capsule(apex, farEdge, 0.6), Solid(Rgb(80, 130, 200)), 0.8f);
    c.Fill(RectShape(cam.x - 3, kCeiling, cam.x + 3, cam.y - 2), Solid(structure));
    c.Fill(Polygon({at(-9, -5.5), at(9, -5.5), at(9, 5.5), at(-9, 5.5)}), Solid(Rgb(52, 60, 72)));
    c.Fill(Polygon({at(-8, -4.5), at(8, -4.5), at(8, 4.5), at(-8, 4.5)}),
           VerticalGradient(cam.y - 10, Rgb(214, 220, 228), cam.y + 10, Rgb(150, 160, 172)));
    const Point lens = at(9.5, 0);
    c.Fill(Circle(lens.x, lens.y, 4.2), Solid(Rgb(24, 28, 34)));
    c.Fill(Circle(lens.x, lens.y, 2.4), Solid(Rgb(40, 110, 170)));

    // Tilt: arc from the horizontal to the axis, with its allowed range.
    const Color angleColor = Rgb(206, 96, 24);
    for (int x = 70; x < 104; x += 6)
        c.Fill(RectShape(x, cam.y - 0.5, x + 3, cam.y + 0.5), Solid(angleColor), 0.8f);
    const Inside arc = [&](double x, double y) {
        const double vx = x - cam.x, vy = y - cam.y, r2 = vx * vx + vy * vy;
        return r2 >= 25.6 * 25.6 && r2 <= 27.2 * 27.2 && vx >= 0 && vy >= 0 &&
               vx * axis.y - vy * axis.x >= 0;
    };
    c.Fill(Shape{Box{cam.x, cam.y, cam.x + 28, cam.y + 28}, arc}, Solid(angleColor));
    c.Text(94, 36, "60~75^", 2, angleColor);

    // Person standing on the counting line.
    const Color person = Rgb(52, 64, 82);
    constexpr double px = 94;
    c.Fill(Capsule(Point{px - 20, kFloor + 0.5}, Point{px + 20, kFloor + 0.5}, 1.8),
           Solid(Rgb(226, 44, 44)));
    c.Fill(Circle(px, 74, 7), Solid(person));
    c.Fill(Capsule(Point{px, 86}, Point{px, 103}, 5.5), Solid(person));
    c.Fill(Capsule(Point{px - 2, 104}, Point{px - 6, 124}, 2.6), Solid(person));
    c.Fill(Capsule(Point{px + 2, 104}, Point{px + 6, 124}, 2.6), Solid(person));
    c.Fill(Capsule(Point{px - 5, 88}, Point{px - 10, 104}, 2.2), Solid(person));
    c.Fill(Capsule(Point{px + 5, 88}, Point{px + 10, 104}, 2.2), Solid(person));

    // Mounting height.
    const Color dim = Rgb(40, 92, 172);
    c.Fill(RectShape(33.5, kCeiling + 6, 35, kFloor - 6), Solid(dim));
    c.Fill(Polygon({{34.25, kCeiling + 1}, {30, kCeiling + 9}, {38.5, kCeiling + 9}}), Solid(dim));
    c.Fill(Polygon({{34.25, kFloor - 1}, {30, kFloor - 9}, {38.5, kFloor - 9}}), Solid(dim));
    c.Text(16, 63, "H", 2, dim);

    // The camera picture: the counting line lies level across it.
    c.Fill(RoundRect(196, 34, 286, 104, 4), Solid(Rgb(92, 102, 116)));
    c.Fill(RoundRect(197, 35, 285, 103, 3),
           VerticalGradient(35, Rgb(60, 68, 80), 103, Rgb(38, 44, 52)));
    for (int x = 205; x < 280; x += 12) c.Fill(RectShape(x, 36, x + 1, 102), Solid(kWhite), 0.06f);
    c.Fill(Capsule(Point{206, 69}, Point{276, 69}, 1.5), Solid(Rgb(236, 52, 52)));
    c.Fill(Capsule(Point{241, 62}, Point{241, 50}, 1.6), Solid(Rgb(70, 140, 255)));
    c.Fill(Polygon({{241, 42}, {235.5, 51}, {246.5, 51}}), Solid(Rgb(70, 140, 255)));
    c.Fill(Capsule(Point{241, 76}, Point{241, 88}, 1.6), Solid(Rgb(240, 70, 70)));
    c.Fill(Polygon({{241, 96}, {235.5, 87}, {246.5, 87}}), Solid(Rgb(240, 70, 70)));
    return c.Keyed(0.5f);
}

std::string LayoutIni() {
    std::ostringstream s;
    const auto line = [&](const char* text) { s << text << "\r\n"; };
    const auto number = [&](const char* key, auto value) { s << key << '=' << value << "\r\n"; };
    line("; Tallyscope skin: background, buttons, live-picture place and settings-menu order.");
    line("; Written by tools/artgen together with the skin pictures; change both together.");
    line("");
    line("[Background]");
    line("BackSetting=tSk-Setting-Back.bmp");
    line("");
    line("[Exit Btn]");
    line("BU=tSk-Btn-Exit-u.bmp");
    line("BF=tSk-Btn-Exit-f.bmp");
    line("BD=tSk-Btn-Exit-d.bmp");
    line("tip=Exit");
    number("y", kExitTop);
    number("cx", kExitSize);
    number("cy", kExitSize);
    line("");
    line("[Setting Menu Btn]");
    line("BU=tSk-Btn-Menu-u.bmp");
    line("BF=tSk-Btn-Menu-f.bmp");
    line("BD=tSk-Btn-Menu-d.bmp");
    line("tip=Menu");
    number("x", kMenuLeft);
    number("y", kMenuTop);
    number("cx", kMenuWidth);
    number("cy", kMenuHeight);
    line("");
    line("[Setting View Window]");
    number("x", kPictureLeft);
    number("y", kPictureTop);
    number("cx", kPictureWidth);
    number("cy", kPictureHeight);
    for (size_t i = 0; i < kMenuOrder.size(); ++i) {
        line("");
        s << '[' << i << "]\r\n";
        number("ndx", kMenuOrder[i]);
    }
    return s.str();
}

std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

}  // namespace

Image24 PaintBackground() {
    return PaintBackgroundImpl();
}

std::vector<GeneratedFile> GenerateAll() {
    std::vector<GeneratedFile> files;
    const Image24 back = PaintBackgroundImpl();
    Emit(files, "resources/tSk-Setting-Back.bmp", EncodeBmp24(back));
    const char* suffix[3] = {"u", "f", "d"};
    for (int state = 0; state < 3; ++state) {
        Emit(files, std::string("resources/tSk-Btn-Exit-") + suffix[state] + ".bmp",
             EncodeBmp24(PaintExit(back, state)));
    }
    for (int state = 0; state < 3; ++state) {
        Emit(files, std::string("resources/tSk-Btn-Menu-") + suffix[state] + ".bmp",
             EncodeBmp24(PaintMenu(back, state)));
    }
    Emit(files, "resources/Layout.ini", Bytes(LayoutIni()));
    Emit(files, "resources/Lang/HeightTips.bmp", EncodeBmp24(PaintHeightTips()));

    Emit(files, "res/arrow_in.bmp",
         EncodeBmp24(PaintArrow(Rgb(120, 176, 255), Rgb(20, 92, 240), Rgb(0, 36, 128))));
    Emit(files, "res/arrow_out.bmp",
         EncodeBmp24(PaintArrow(Rgb(255, 124, 118), Rgb(220, 28, 28), Rgb(112, 0, 0))));
    for (int id = 184; id <= 191; ++id) {
        Emit(files, "res/tool_" + std::to_string(id) + ".bmp", EncodeBmp24(PaintTool(id)));
    }
    Emit(files, "res/hand_183.cur", EncodeCursor(HandCursor()));
    Emit(files, "res/tool_192.cur", EncodeCursor(CrossCursor()));
    Emit(files, "res/Tallyscope.ico", EncodeIcon({AppIcon(32), AppIcon(16)}));
    return files;
}

bool WriteAll(const std::filesystem::path& root, const std::vector<GeneratedFile>& files,
              std::string& error) {
    for (const GeneratedFile& file : files) {
        const std::filesystem::path path = root / file.path;
        std::error_code ec;
        std::filesystem::create_directories(path.parent_path(), ec);
        if (ec) {
            error = path.parent_path().string() + ": " + ec.message();
            return false;
        }
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.bytes.data()),
                  static_cast<std::streamsize>(file.bytes.size()));
        if (!out) {
            error = path.string() + ": cannot write";
            return false;
        }
    }
    return true;
}

}  // namespace artgen
