#include "tools/hostsim/CornerRefiner.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "tools/hostsim/StereoRenderer.h"

namespace hostsim {

namespace {

constexpr double kMaxMove = 3.0;       // pixels a refined corner may move from its click
constexpr double kSearch = 3.5;        // pixels searched on each side of a clicked side
constexpr double kStep = 0.25;         // profile step across the side, pixels
constexpr double kMinEdge = 6.0;       // grey levels per half pixel for an edge
constexpr double kShortestSide = 8.0;  // pixels

class GreyPicture {
  public:
    explicit GreyPicture(const unsigned char* picture)
        : m_grey(static_cast<std::size_t>(kPictureWidth) * kPictureHeight) {
        for (int y = 0; y < kPictureHeight; ++y) {
            const unsigned char* row =
                picture + static_cast<std::size_t>(kPictureHeight - 1 - y) * kPictureWidth * 3;
            for (int x = 0; x < kPictureWidth; ++x)
                m_grey[Index(x, y)] =
                    0.114 * row[3 * x] + 0.587 * row[3 * x + 1] + 0.299 * row[3 * x + 2];
        }
    }
    // Bilinear value at a picture point; none outside the pixel centres.
    std::optional<double> At(Vec2 p) const {
        if (!(p.x >= 0 && p.y >= 0 && p.x <= kPictureWidth - 1 && p.y <= kPictureHeight - 1))
            return std::nullopt;
        const int x = std::min(static_cast<int>(p.x), kPictureWidth - 2);
        const int y = std::min(static_cast<int>(p.y), kPictureHeight - 2);
        const double fx = p.x - x, fy = p.y - y;
        const double top = m_grey[Index(x, y)] * (1 - fx) + m_grey[Index(x + 1, y)] * fx;
        const double bottom = m_grey[Index(x, y + 1)] * (1 - fx) + m_grey[Index(x + 1, y + 1)] * fx;
        return top * (1 - fy) + bottom * fy;
    }

  private:
    static std::size_t Index(int x, int y) {
        return static_cast<std::size_t>(y) * kPictureWidth + static_cast<std::size_t>(x);
    }
    std::vector<double> m_grey;
};

struct Line {
    Vec2 point;
    Vec2 direction;  // unit
};

// Strongest edge across the side from a to b, sampled along its middle part,
// and the straight line through those edge points.
std::optional<Line> FitSide(const GreyPicture& grey, Vec2 a, Vec2 b) {
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    if (length < kShortestSide) return std::nullopt;
    const Vec2 along{(b.x - a.x) / length, (b.y - a.y) / length};
    const Vec2 across{-along.y, along.x};
    const int samples = std::clamp(static_cast<int>(length / 2), 5, 60);
    const int steps = static_cast<int>(kSearch / kStep);
    struct EdgePoint {
        Vec2 at;
        int sign;
    };
    std::vector<EdgePoint> points;
    for (int k = 0; k < samples; ++k) {
        const double s = 0.15 + 0.7 * k / (samples - 1);
        const Vec2 base{a.x + s * (b.x - a.x), a.y + s * (b.y - a.y)};
        std::vector<double> profile;
        bool inside = true;
        for (int i = -steps - 1; i <= steps + 1 && inside; ++i) {
            const auto v = grey.At({base.x + i * kStep * across.x, base.y + i * kStep * across.y});
            inside = v.has_value();
            if (v) profile.push_back(*v);
        }
        if (!inside) continue;
        // Central differences over half a pixel; index j is offset (j - steps) * kStep.
        std::vector<double> slope(profile.size(), 0.0);
        for (std::size_t j = 1; j + 1 < profile.size(); ++j)
            slope[j] = profile[j + 1] - profile[j - 1];
        std::size_t best = 1;
        for (std::size_t j = 1; j + 1 < profile.size(); ++j)
            if (std::fabs(slope[j]) > std::fabs(slope[best])) best = j;
        if (std::fabs(slope[best]) < kMinEdge) continue;
        // The edge lies where the profile crosses halfway between the levels
        // two pixels either side of the steepest point (the steepest point
        // itself is only known to the profile's step).
        const std::size_t reach = static_cast<std::size_t>(2.0 / kStep);
        const std::size_t low = best > reach ? best - reach : 0;
        const std::size_t high = std::min(profile.size() - 1, best + reach);
        const double middle = (profile[low] + profile[high]) / 2;
        double crossing = static_cast<double>(best);
        double nearest = 1e9;
        for (std::size_t j = low; j < high; ++j) {
            const double u = profile[j] - middle, w = profile[j + 1] - middle;
            if ((u <= 0 && w > 0) || (u >= 0 && w < 0)) {
                const double at = static_cast<double>(j) + u / (u - w);
                if (std::fabs(at - static_cast<double>(best)) < nearest) {
                    nearest = std::fabs(at - static_cast<double>(best));
                    crossing = at;
                }
            }
        }
        const double offset = crossing - static_cast<double>(best);
        const double across_ = (static_cast<double>(best) - 1 - steps + offset) * kStep;
        points.push_back(
            {{base.x + across_ * across.x, base.y + across_ * across.y}, slope[best] > 0 ? 1 : -1});
    }
    // Keep the edges of the side's own polarity (dark to bright or back).
    int balance = 0;
    for (const auto& p : points) balance += p.sign;
    const int sign = balance >= 0 ? 1 : -1;
    std::vector<Vec2> kept;
    for (const auto& p : points)
        if (p.sign == sign) kept.push_back(p.at);
    if (kept.size() < 4) return std::nullopt;
    // Total least squares: the line through the centroid along the main axis.
    Vec2 centre{};
    for (const Vec2& p : kept)
        centre = {centre.x + p.x / kept.size(), centre.y + p.y / kept.size()};
    double sxx = 0, sxy = 0, syy = 0;
    for (const Vec2& p : kept) {
        const double dx = p.x - centre.x, dy = p.y - centre.y;
        sxx += dx * dx;
        sxy += dx * dy;
        syy += dy * dy;
    }
    const double angle = 0.5 * std::atan2(2 * sxy, sxx - syy);
    return Line{centre, {std::cos(angle), std::sin(angle)}};
}

std::optional<Vec2> Meet(const Line& p, const Line& q) {
    const double det = p.direction.x * q.direction.y - p.direction.y * q.direction.x;
    if (std::fabs(det) < 1e-6) return std::nullopt;
    const double dx = q.point.x - p.point.x, dy = q.point.y - p.point.y;
    const double t = (dx * q.direction.y - dy * q.direction.x) / det;
    return Vec2{p.point.x + t * p.direction.x, p.point.y + t * p.direction.y};
}

}  // namespace

TemplateCorners RefineCorners(const unsigned char* picture, const TemplateCorners& clicked) {
    if (!picture) return clicked;
    for (const Vec2& c : clicked)
        if (!(c.x >= 0 && c.y >= 0 && c.x <= kPictureWidth - 1 && c.y <= kPictureHeight - 1))
            return clicked;
    const GreyPicture grey(picture);
    enum { kLL, kLR, kUL, kUR };
    const auto lower = FitSide(grey, clicked[kLL], clicked[kLR]);
    const auto upper = FitSide(grey, clicked[kUL], clicked[kUR]);
    const auto left = FitSide(grey, clicked[kLL], clicked[kUL]);
    const auto right = FitSide(grey, clicked[kLR], clicked[kUR]);
    if (!lower || !upper || !left || !right) return clicked;
    const std::optional<Vec2> met[4] = {Meet(*lower, *left), Meet(*lower, *right),
                                        Meet(*upper, *left), Meet(*upper, *right)};
    TemplateCorners refined = clicked;
    for (std::size_t i = 0; i < 4; ++i) {
        if (!met[i]) return clicked;
        if (std::hypot(met[i]->x - clicked[i].x, met[i]->y - clicked[i].y) > kMaxMove)
            return clicked;
        refined[i] = *met[i];
    }
    return refined;
}

}  // namespace hostsim
