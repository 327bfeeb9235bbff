#include "tools/hostsim/RegionMatcher.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "tools/hostsim/StereoRenderer.h"

namespace hostsim {

namespace {

// Grey levels of picture rows top..bottom-1 (y downwards), all columns.
std::vector<float> GreyRows(const unsigned char* picture, int top, int bottom) {
    std::vector<float> grey(static_cast<std::size_t>(bottom - top) * kPictureWidth);
    for (int y = top; y < bottom; ++y) {
        const unsigned char* row =
            picture + static_cast<std::size_t>(kPictureHeight - 1 - y) * kPictureWidth * 3;
        float* out = &grey[static_cast<std::size_t>(y - top) * kPictureWidth];
        for (int x = 0; x < kPictureWidth; ++x)
            out[x] = 0.114f * row[3 * x] + 0.587f * row[3 * x + 1] + 0.299f * row[3 * x + 2];
    }
    return grey;
}

constexpr double kMinGradientRms = 1.5;  // grey levels per pixel
constexpr double kUniqueness = 1.4;      // runner-up cost must exceed the best this much
constexpr double kWorstFit = 0.35;       // best cost as a share of the region's variance

}  // namespace

RegionMatch MatchRegion(const unsigned char* left, const unsigned char* right,
                        const CameraModel& model, int regionLeft, int regionTop, int regionRight,
                        int regionBottom) {
    RegionMatch none;
    if (!left || !right) return none;
    if (regionLeft > regionRight) std::swap(regionLeft, regionRight);
    if (regionTop > regionBottom) std::swap(regionTop, regionBottom);
    const int x0 = std::clamp(regionLeft, 0, kPictureWidth);
    const int x1 = std::clamp(regionRight, 0, kPictureWidth);
    const int y0 = std::clamp(regionTop, 0, kPictureHeight);
    const int y1 = std::clamp(regionBottom, 0, kPictureHeight);
    const int width = x1 - x0, height = y1 - y0;
    if (width < 3 || height < 3) return none;

    const std::vector<float> l = GreyRows(left, y0, y1);
    const std::vector<float> r = GreyRows(right, y0, y1);
    const auto at = [](const std::vector<float>& g, int x, int row) {
        return g[static_cast<std::size_t>(row) * kPictureWidth + static_cast<std::size_t>(x)];
    };

    // Texture: horizontal gradient energy and variance of the left region.
    double sum = 0, sumSquares = 0, gradient = 0;
    for (int row = 0; row < height; ++row) {
        for (int x = x0; x < x1; ++x) {
            const double v = at(l, x, row);
            sum += v;
            sumSquares += v * v;
            if (x + 1 < x1) {
                const double g = at(l, x + 1, row) - v;
                gradient += g * g;
            }
        }
    }
    const double count = static_cast<double>(width) * height;
    const double mean = sum / count;
    const double variance = std::max(0.0, sumSquares / count - mean * mean);
    if (std::sqrt(gradient / (static_cast<double>(width - 1) * height)) < kMinGradientRms)
        return none;

    // Cost of each whole-pixel shift d: the region against right columns x - d.
    const int maxShift = std::min(kMaxDisparity, x0);
    if (maxShift < 2) return none;
    std::vector<double> cost(static_cast<std::size_t>(maxShift) + 1);
    for (int d = 0; d <= maxShift; ++d) {
        double rightSum = 0;
        for (int row = 0; row < height; ++row)
            for (int x = x0; x < x1; ++x) rightSum += at(r, x - d, row);
        const double rightMean = rightSum / count;
        double c = 0;
        for (int row = 0; row < height; ++row) {
            for (int x = x0; x < x1; ++x) {
                const double diff = (at(l, x, row) - mean) - (at(r, x - d, row) - rightMean);
                c += diff * diff;
            }
        }
        cost[static_cast<std::size_t>(d)] = c / count;
    }
    const auto bestAt = std::min_element(cost.begin(), cost.end()) - cost.begin();
    const int best = static_cast<int>(bestAt);
    if (best == 0 || best == maxShift) return none;
    const double bestCost = cost[static_cast<std::size_t>(best)];
    double runnerUp = std::numeric_limits<double>::infinity();
    for (int d = 0; d <= maxShift; ++d)
        if (std::abs(d - best) > 1)
            runnerUp = std::min(runnerUp, cost[static_cast<std::size_t>(d)]);
    if (runnerUp < bestCost * kUniqueness + 1e-9) return none;
    if (bestCost > kWorstFit * variance) return none;

    const double before = cost[static_cast<std::size_t>(best - 1)];
    const double after = cost[static_cast<std::size_t>(best + 1)];
    const double curvature = before - 2 * bestCost + after;
    double offset = curvature > 0 ? (before - after) / (2 * curvature) : 0;
    offset = std::clamp(offset, -0.5, 0.5);
    const double disparity = best + offset;
    if (!(disparity > 0)) return none;
    RegionMatch match;
    match.matched = true;
    match.disparity = static_cast<float>(disparity);
    match.distance = static_cast<float>(model.focalLength * model.baseline / disparity);
    return match;
}

}  // namespace hostsim
