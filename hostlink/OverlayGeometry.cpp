#include "hostlink/OverlayGeometry.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace hostlink {

namespace {

bool Finite(float v) {
    return std::isfinite(v);
}

// trunc(value) as int32, for values already known to be finite; clamped so
// a far-off coordinate cannot become an undefined conversion.
int32_t TruncToInt32(double value) {
    const double v = std::trunc(value);
    constexpr double lo = static_cast<double>(std::numeric_limits<int32_t>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<int32_t>::max());
    if (v <= lo) return std::numeric_limits<int32_t>::min();
    if (v >= hi) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

// trunc(value + 0.5), the rounding used for the band corners.
int32_t RoundHalfUp(float value) {
    return TruncToInt32(static_cast<double>(value) + 0.5);
}

// Where a*x + b*y + c = 0 meets its perpendicular b*x - a*y + m = 0.
// den = a² + b² is the squared line length, never 0 here.
PointF Intersect(float a, float b, float c, float m, float den) {
    return {-(a * c + b * m) / den, (a * m - b * c) / den};
}

Affine2x3 Translation(float dx, float dy) {
    return {1.0f, 0.0f, 0.0f, 1.0f, dx, dy};
}

Affine2x3 Rotation(float degrees) {
    const double radians = static_cast<double>(degrees) * std::numbers::pi / 180.0;
    const float c = static_cast<float>(std::cos(radians));
    const float s = static_cast<float>(std::sin(radians));
    return {c, s, -s, c, 0.0f, 0.0f};
}

bool Finite(const Affine2x3& m) {
    return Finite(m.m11) && Finite(m.m12) && Finite(m.m21) && Finite(m.m22) && Finite(m.dx) &&
           Finite(m.dy);
}

}  // namespace

Affine2x3 Multiply(const Affine2x3& l, const Affine2x3& r) {
    return {l.m11 * r.m11 + l.m12 * r.m21,      l.m11 * r.m12 + l.m12 * r.m22,
            l.m21 * r.m11 + l.m22 * r.m21,      l.m21 * r.m12 + l.m22 * r.m22,
            l.dx * r.m11 + l.dy * r.m21 + r.dx, l.dx * r.m12 + l.dy * r.m22 + r.dy};
}

Affine2x3 RotationAbout(PointF centre, float degrees) {
    Affine2x3 m;                                         // identity
    m = Multiply(Translation(centre.x, centre.y), m);    // prepend translate(centre)
    m = Multiply(Rotation(degrees), m);                  // prepend rotate
    m = Multiply(Translation(-centre.x, -centre.y), m);  // prepend translate(-centre)
    return m;
}

CountingLineOverlay ComputeCountingLineOverlay(HostPoint p1, HostPoint p2, float angleIn,
                                               int32_t arrowWidth, int32_t arrowHeight) {
    CountingLineOverlay o;
    o.p1 = p1;
    o.p2 = p2;
    if (p1 == p2) return o;

    const float x1 = static_cast<float>(p1.x);
    const float y1 = static_cast<float>(p1.y);
    const float x2 = static_cast<float>(p2.x);
    const float y2 = static_cast<float>(p2.y);

    // Line dy*x + dx'*y + k = 0, its parallels at distance 3 and the
    // perpendiculars through P1 and P2.
    const float dy = y2 - y1;
    const float dxp = x1 - x2;
    const float den = dy * dy + dxp * dxp;
    // Distinct int32 points converted to float can still coincide (above 2^24).
    if (!(den > 0.0f) || !Finite(den)) return o;
    const float length = std::sqrt(den);
    const float k = -(dy * x1 + dxp * y1);
    const float kPlus = static_cast<float>(k + 3.0 * length);
    const float kMinus = static_cast<float>(k - 3.0 * length);
    const float m1 = -(dxp * x1 - dy * y1);
    const float m2 = -(dxp * x2 - dy * y2);

    const PointF corners[4] = {
        Intersect(dy, dxp, kPlus, m1, den), Intersect(dy, dxp, kPlus, m2, den),
        Intersect(dy, dxp, kMinus, m1, den), Intersect(dy, dxp, kMinus, m2, den)};
    for (int i = 0; i < 4; ++i) {
        if (!Finite(corners[i].x) || !Finite(corners[i].y)) return o;
        o.band[i] = {RoundHalfUp(corners[i].x), RoundHalfUp(corners[i].y)};
    }
    o.mid = {x1 + (x2 - x1) * 0.5f, y1 + (y2 - y1) * 0.5f};
    o.hasLine = true;

    // Arrows: centred R pixels from M along θ (in) and against it (out).
    const float radius = static_cast<float>(arrowWidth) * 0.5f + 4.5f;
    const float cosT = std::cos(angleIn);
    const float sinT = std::sin(angleIn);
    const float halfW = static_cast<float>(arrowWidth / 2);
    const float halfH = static_cast<float>(arrowHeight / 2);
    const float ax = o.mid.x - halfW + radius * cosT;
    const float ay = o.mid.y - halfH + radius * sinT;
    const float bx = o.mid.x - halfW - radius * cosT;
    const float by = o.mid.y - halfH - radius * sinT;
    const float degrees = angleIn * static_cast<float>(1.0 / std::numbers::pi) * 180.0f;
    if (!Finite(ax) || !Finite(ay) || !Finite(bx) || !Finite(by) || !Finite(degrees)) return o;

    const PointF inCentre{o.mid.x + radius * cosT, o.mid.y + radius * sinT};
    const PointF outCentre{o.mid.x - radius * cosT, o.mid.y - radius * sinT};
    o.inArrow = {TruncToInt32(ax), TruncToInt32(ay)};
    o.outArrow = {TruncToInt32(bx), TruncToInt32(by)};
    o.t1 = RotationAbout(inCentre, degrees);
    o.t2 = RotationAbout(inCentre, degrees + 180.0f);
    o.t3 = RotationAbout(outCentre, degrees + 180.0f);
    o.t4 = RotationAbout(outCentre, degrees);
    o.hasArrows = Finite(o.t1) && Finite(o.t2) && Finite(o.t3) && Finite(o.t4);
    return o;
}

}  // namespace hostlink
