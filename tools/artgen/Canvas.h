// Drawing surface for the product artwork: shapes are filled with 4 x 4 supersampling into a
// premultiplied RGBA canvas, then flattened into 24-bit pictures. Everything is plain arithmetic
// without random numbers or trigonometry, so the same sources always give the same bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace artgen {

struct Color {
    float r = 0, g = 0, b = 0;  // 0..255
};

constexpr Color Rgb(int r, int g, int b) {
    return Color{static_cast<float>(r), static_cast<float>(g), static_cast<float>(b)};
}

// Opaque yellow is keyed out as transparent wherever the program draws these pictures.
constexpr Color kKeyYellow = Rgb(255, 255, 0);

struct Point {
    double x = 0, y = 0;
};

struct Box {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

using Inside = std::function<bool(double x, double y)>;
using Paint = std::function<Color(double x, double y)>;

struct Shape {
    Box box;
    Inside inside;
};

Shape RectShape(double x0, double y0, double x1, double y1);
Shape RoundRect(double x0, double y0, double x1, double y1, double radius);
Shape Circle(double cx, double cy, double r);
Shape Ellipse(double cx, double cy, double rx, double ry);
// A segment of the given half width with round ends.
Shape Capsule(Point a, Point b, double halfWidth);
Shape Polygon(std::vector<Point> points);  // even-odd rule
Shape Union(Shape a, Shape b);
Shape Minus(Shape a, Shape b);
Shape Intersect(Shape a, Shape b);
Shape Translated(Shape s, double dx, double dy);

Paint Solid(Color c);
Paint VerticalGradient(double y0, Color top, double y1, Color bottom);
Paint HorizontalGradient(double x0, Color left, double x1, Color right);
// Diagonal stripes: pixels where (x + y) mod period < on get `a`, the others `b`.
Paint Hatch(Color a, Color b, int period, int on);

struct Image24 {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // top-down rows, 3 bytes a pixel in red, green, blue order

    Color At(int x, int y) const;
    void Set(int x, int y, Color c);
};

class Canvas {
  public:
    Canvas(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Covers the shape with the paint; opacity scales the coverage.
    void Fill(const Shape& shape, const Paint& paint, float opacity = 1.0f);
    // Draws text in the built-in pixel font; scale is the size of one font pixel.
    void Text(int x, int y, const std::string& text, int scale, Color color, float opacity = 1.0f);
    void BlendPixel(int x, int y, Color c, float alpha);

    // Alpha (0..1) and straight colour of one pixel.
    float AlphaAt(int x, int y) const;
    Color ColorAt(int x, int y) const;

    // Every pixel as a straight colour, alpha ignored (the picture is expected to be opaque).
    Image24 Flatten() const;
    // Pixels at least `threshold` opaque keep their colour; the rest become key yellow.
    Image24 Keyed(float threshold) const;
    // For pictures drawn over a known backdrop: partly covered pixels are mixed with the
    // backdrop at (left, top) so their edges stay smooth; uncovered pixels become key yellow.
    Image24 KeyedOver(const Image24& backdrop, int left, int top) const;
    // Straight RGBA, top-down, for icons.
    std::vector<uint8_t> Rgba() const;

  private:
    struct Pixel {
        float r = 0, g = 0, b = 0, a = 0;  // premultiplied
    };
    int width_;
    int height_;
    std::vector<Pixel> pixels_;
};

// Keeps an opaque pixel from matching the key colour by accident.
Color AvoidKey(Color c);

}  // namespace artgen
