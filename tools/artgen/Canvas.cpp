#include "tools/artgen/Canvas.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "tools/artgen/PixelFont.h"

namespace artgen {

namespace {

constexpr int kSamples = 4;  // per axis

float Clamp255(float v) {
    return std::clamp(v, 0.0f, 255.0f);
}

uint8_t ToByte(float v) {
    return static_cast<uint8_t>(std::lround(Clamp255(v)));
}

Color Mix(Color a, Color b, float t) {  // t = share of b
    return Color{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Box Hull(const Box& a, const Box& b) {
    return Box{std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1),
               std::max(a.y1, b.y1)};
}

Color Quantize(Color c) {
    return Color{static_cast<float>(ToByte(c.r)), static_cast<float>(ToByte(c.g)),
                 static_cast<float>(ToByte(c.b))};
}

}  // namespace

Color AvoidKey(Color c) {
    Color q = Quantize(c);
    if (q.r == 255 && q.g == 255 && q.b == 0) q.b = 1;
    return q;
}

Shape RectShape(double x0, double y0, double x1, double y1) {
    return Shape{Box{x0, y0, x1, y1},
                 [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; }};
}

Shape RoundRect(double x0, double y0, double x1, double y1, double radius) {
    return Shape{Box{x0, y0, x1, y1}, [=](double x, double y) {
                     if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
                     const double cx = std::clamp(x, x0 + radius, x1 - radius);
                     const double cy = std::clamp(y, y0 + radius, y1 - radius);
                     const double dx = x - cx, dy = y - cy;
                     return dx * dx + dy * dy <= radius * radius;
                 }};
}

Shape Circle(double cx, double cy, double r) {
    return Ellipse(cx, cy, r, r);
}

Shape Ellipse(double cx, double cy, double rx, double ry) {
    return Shape{Box{cx - rx, cy - ry, cx + rx, cy + ry}, [=](double x, double y) {
                     const double dx = (x - cx) / rx, dy = (y - cy) / ry;
                     return dx * dx + dy * dy <= 1.0;
                 }};
}

Shape Capsule(Point a, Point b, double halfWidth) {
    const Box box{std::min(a.x, b.x) - halfWidth, std::min(a.y, b.y) - halfWidth,
                  std::max(a.x, b.x) + halfWidth, std::max(a.y, b.y) + halfWidth};
    return Shape{box, [=](double x, double y) {
                     const double vx = b.x - a.x, vy = b.y - a.y;
                     const double len2 = vx * vx + vy * vy;
                     double t = len2 > 0 ? ((x - a.x) * vx + (y - a.y) * vy) / len2 : 0.0;
                     t = std::clamp(t, 0.0, 1.0);
                     const double dx = x - (a.x + t * vx), dy = y - (a.y + t * vy);
                     return dx * dx + dy * dy <= halfWidth * halfWidth;
                 }};
}

Shape Polygon(std::vector<Point> points) {
    Box box{1e9, 1e9, -1e9, -1e9};
    for (const Point& p : points) box = Hull(box, Box{p.x, p.y, p.x, p.y});
    return Shape{
        box, [pts = std::move(points)](double x, double y) {
            bool inside = false;
            for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
                const Point& p = pts[i];
                const Point& q = pts[j];
                if ((p.y > y) != (q.y > y) && x < (q.x - p.x) * (y - p.y) / (q.y - p.y) + p.x) {
                    inside = !inside;
                }
            }
            return inside;
        }};
}

Shape Union(Shape a, Shape b) {
    const Box box = Hull(a.box, b.box);
    return Shape{box, [a = std::move(a.inside), b = std::move(b.inside)](double x, double y) {
                     return a(x, y) || b(x, y);
                 }};
}

Shape Minus(Shape a, Shape b) {
    const Box box = a.box;
    return Shape{box, [a = std::move(a.inside), b = std::move(b.inside)](double x, double y) {
                     return a(x, y) && !b(x, y);
                 }};
}

Shape Intersect(Shape a, Shape b) {
    const Box box{std::max(a.box.x0, b.box.x0), std::max(a.box.y0, b.box.y0),
                  std::min(a.box.x1, b.box.x1), std::min(a.box.y1, b.box.y1)};
    return Shape{box, [a = std::move(a.inside), b = std::move(b.inside)](double x, double y) {
                     return a(x, y) && b(x, y);
                 }};
}

Shape Translated(Shape s, double dx, double dy) {
    const Box box{s.box.x0 + dx, s.box.y0 + dy, s.box.x1 + dx, s.box.y1 + dy};
    return Shape{
        box, [in = std::move(s.inside), dx, dy](double x, double y) { return in(x - dx, y - dy); }};
}

Paint Solid(Color c) {
    return [c](double, double) { return c; };
}

Paint VerticalGradient(double y0, Color top, double y1, Color bottom) {
    return [=](double, double y) {
        const double t = std::clamp((y - y0) / (y1 - y0), 0.0, 1.0);
        return Mix(top, bottom, static_cast<float>(t));
    };
}

Paint HorizontalGradient(double x0, Color left, double x1, Color right) {
    return [=](double x, double) {
        const double t = std::clamp((x - x0) / (x1 - x0), 0.0, 1.0);
        return Mix(left, right, static_cast<float>(t));
    };
}

Paint Hatch(Color a, Color b, int period, int on) {
    return [=](double x, double y) {
        const int k = static_cast<int>(std::floor(x)) + static_cast<int>(std::floor(y));
        const int m = ((k % period) + period) % period;
        return m < on ? a : b;
    };
}

Color Image24::At(int x, int y) const {
    const size_t i =
        (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
    return Rgb(rgb[i], rgb[i + 1], rgb[i + 2]);
}

void Image24::Set(int x, int y, Color c) {
    const size_t i =
        (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
    rgb[i] = ToByte(c.r);
    rgb[i + 1] = ToByte(c.g);
    rgb[i + 2] = ToByte(c.b);
}

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      pixels_(static_cast<size_t>(width) * static_cast<size_t>(height)) {}

void Canvas::BlendPixel(int x, int y, Color c, float alpha) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0) return;
    alpha = std::min(alpha, 1.0f);
    Pixel& p =
        pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    p.r = c.r * alpha + p.r * (1 - alpha);
    p.g = c.g * alpha + p.g * (1 - alpha);
    p.b = c.b * alpha + p.b * (1 - alpha);
    p.a = alpha + p.a * (1 - alpha);
}

void Canvas::Fill(const Shape& shape, const Paint& paint, float opacity) {
    const int x0 = std::max(0, static_cast<int>(std::floor(shape.box.x0)) - 1);
    const int y0 = std::max(0, static_cast<int>(std::floor(shape.box.y0)) - 1);
    const int x1 = std::min(width_, static_cast<int>(std::ceil(shape.box.x1)) + 1);
    const int y1 = std::min(height_, static_cast<int>(std::ceil(shape.box.y1)) + 1);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    if (shape.inside(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples)) ++hits;
                }
            }
            if (hits == 0) continue;
            const float coverage = static_cast<float>(hits) / (kSamples * kSamples);
            BlendPixel(x, y, paint(x + 0.5, y + 0.5), coverage * opacity);
        }
    }
}

void Canvas::Text(int x, int y, const std::string& text, int scale, Color color, float opacity) {
    int penX = x;
    for (char ch : text) {
        const Glyph& glyph = GlyphFor(ch);
        for (int row = 0; row < kGlyphRows; ++row) {
            for (int col = 0; col < kGlyphColumns; ++col) {
                if (glyph.rows[row][col] != '#') continue;
                for (int dy = 0; dy < scale; ++dy) {
                    for (int dx = 0; dx < scale; ++dx) {
                        BlendPixel(penX + col * scale + dx, y + row * scale + dy, color, opacity);
                    }
                }
            }
        }
        penX += kGlyphAdvance * scale;
    }
}

float Canvas::AlphaAt(int x, int y) const {
    return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)].a;
}

Color Canvas::ColorAt(int x, int y) const {
    const Pixel& p =
        pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    if (p.a <= 0) return Color{};
    return Color{p.r / p.a, p.g / p.a, p.b / p.a};
}

Image24 Canvas::Flatten() const {
    Image24 out{width_, height_, std::vector<uint8_t>(static_cast<size_t>(width_) * height_ * 3)};
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) out.Set(x, y, ColorAt(x, y));
    }
    return out;
}

Image24 Canvas::Keyed(float threshold) const {
    Image24 out{width_, height_, std::vector<uint8_t>(static_cast<size_t>(width_) * height_ * 3)};
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            out.Set(x, y, AlphaAt(x, y) >= threshold ? AvoidKey(ColorAt(x, y)) : kKeyYellow);
        }
    }
    return out;
}

Image24 Canvas::KeyedOver(const Image24& backdrop, int left, int top) const {
    Image24 out{width_, height_, std::vector<uint8_t>(static_cast<size_t>(width_) * height_ * 3)};
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const float a = AlphaAt(x, y);
            if (a < 1.0f / 32) {
                out.Set(x, y, kKeyYellow);
                continue;
            }
            const Color under = backdrop.At(left + x, top + y);
            const Pixel& p = pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) +
                                     static_cast<size_t>(x)];
            out.Set(x, y,
                    AvoidKey(Color{p.r + under.r * (1 - a), p.g + under.g * (1 - a),
                                   p.b + under.b * (1 - a)}));
        }
    }
    return out;
}

std::vector<uint8_t> Canvas::Rgba() const {
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(width_) * height_ * 4);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const float a = AlphaAt(x, y);
            const uint8_t alpha = ToByte(a * 255);
            const Color c = alpha == 0 ? Color{} : ColorAt(x, y);
            out.push_back(ToByte(c.r));
            out.push_back(ToByte(c.g));
            out.push_back(ToByte(c.b));
            out.push_back(alpha);
        }
    }
    return out;
}

}  // namespace artgen
