#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/hostsim/RegionMatcher.h"
#include "tools/hostsim/StereoRenderer.h"

using namespace hostsim;

namespace {

struct Pair {
    std::vector<unsigned char> left = std::vector<unsigned char>(kPictureBytes);
    std::vector<unsigned char> right = std::vector<unsigned char>(kPictureBytes);
};

Pair FloorPair(StereoRenderer& renderer) {
    Pair pair;
    renderer.Render(0, pair.left.data(), pair.right.data());
    return pair;
}

Scene EmptyFloor(double tiltDeg = 60) {
    Scene scene = DefaultScene(CameraModel{});
    scene.pose.tilt = tiltDeg * 3.14159265358979 / 180;
    scene.people.clear();
    return scene;
}

void Fill(std::vector<unsigned char>& picture, auto colourAt) {
    for (int y = 0; y < kPictureHeight; ++y)
        for (int x = 0; x < kPictureWidth; ++x) {
            unsigned char* p =
                &picture[(static_cast<std::size_t>(kPictureHeight - 1 - y) * kPictureWidth + x) *
                         3];
            p[0] = p[1] = p[2] = static_cast<unsigned char>(colourAt(x, y));
        }
}

}  // namespace

TEST(RegionMatcher, TexturedFloorWithinAQuarterPixel) {
    for (double tilt : {45.0, 60.0, 85.0}) {
        StereoRenderer renderer(EmptyFloor(tilt));
        const Pair pair = FloorPair(renderer);
        // The template with its white frame, in the picture.
        const Scene& scene = renderer.scene();
        const double reach = scene.templateSize / 2 + scene.templateBorder;
        double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
        for (double sx : {-reach, reach}) {
            for (double sy : {-reach, reach}) {
                const auto p = renderer.leftCamera().Project(
                    {scene.templateCentre.x + sx, scene.templateCentre.y + sy, 0});
                ASSERT_TRUE(p);
                minX = std::min(minX, p->x), maxX = std::max(maxX, p->x);
                minY = std::min(minY, p->y), maxY = std::max(maxY, p->y);
            }
        }
        int checked = 0;
        for (int top = 6; top + 16 <= kPictureHeight; top += 26) {
            for (int left = 40; left + 24 <= kPictureWidth; left += 36) {
                const int right = left + 24, bottom = top + 16;
                // Stay clear of the template, also in the right picture.
                if (right > minX - 4 && left - 20 < maxX + 4 && bottom > minY - 4 && top < maxY + 4)
                    continue;
                const RegionMatch match = MatchRegion(pair.left.data(), pair.right.data(),
                                                      CameraModel{}, left, top, right, bottom);
                const double truth =
                    renderer.FloorDisparityAt((left + right - 1) / 2.0, (top + bottom - 1) / 2.0);
                ASSERT_TRUE(match.matched) << tilt << " " << left << "," << top;
                EXPECT_NEAR(match.disparity, truth, 0.25) << tilt << " " << left << "," << top;
                EXPECT_NEAR(match.distance, 260.0 * 10.0 / match.disparity, 1e-3);
                ++checked;
            }
        }
        EXPECT_GE(checked, 20) << tilt;
    }
}

TEST(RegionMatcher, APersonStandsOutFromTheFloor) {
    Scene scene = DefaultScene(CameraModel{});
    scene.people.resize(1);
    scene.people[0].from = scene.people[0].to = {60, 200};
    StereoRenderer renderer(scene);
    Pair pair;
    renderer.Render(0, pair.left.data(), pair.right.data());
    // The front of the torso at chest height, as the left camera sees it.
    const Vec3 chest{60, 200 - scene.people[0].shoulder * 0.65, 110};
    const auto at = renderer.leftCamera().Project(chest);
    ASSERT_TRUE(at);
    const int cx = static_cast<int>(std::lround(at->x)), cy = static_cast<int>(std::lround(at->y));
    const RegionMatch person = MatchRegion(pair.left.data(), pair.right.data(), CameraModel{},
                                           cx - 6, cy - 6, cx + 6, cy + 6);
    ASSERT_TRUE(person.matched);
    const double truth = 260.0 * 10.0 / renderer.leftCamera().ToCamera(chest).z;
    EXPECT_NEAR(person.disparity, truth, 1.0);
    EXPECT_GT(person.disparity, renderer.FloorDisparityAt(cx, cy) + 2);
}

TEST(RegionMatcher, TextureLessRegionHasNoMatch) {
    StereoRenderer renderer(EmptyFloor());
    const Pair pair = FloorPair(renderer);
    const auto c = renderer.TemplateInPicture();
    const int cx = static_cast<int>((c[0].x + c[1].x + c[2].x + c[3].x) / 4);
    const int cy = static_cast<int>((c[0].y + c[1].y + c[2].y + c[3].y) / 4);
    const RegionMatch inside = MatchRegion(pair.left.data(), pair.right.data(), CameraModel{},
                                           cx - 10, cy - 8, cx + 10, cy + 8);
    EXPECT_FALSE(inside.matched);
    EXPECT_EQ(inside.disparity, 0.0f);
    EXPECT_EQ(inside.distance, 0.0f);

    Pair flat;
    Fill(flat.left, [](int, int) { return 128; });
    Fill(flat.right, [](int, int) { return 128; });
    EXPECT_FALSE(MatchRegion(flat.left.data(), flat.right.data(), CameraModel{}, 100, 100, 140, 130)
                     .matched);
}

TEST(RegionMatcher, RepeatingPatternIsAmbiguous) {
    Pair stripes;
    Fill(stripes.left, [](int x, int) { return x % 8 < 4 ? 40 : 210; });
    Fill(stripes.right, [](int x, int) { return (x + 5) % 8 < 4 ? 40 : 210; });
    EXPECT_FALSE(
        MatchRegion(stripes.left.data(), stripes.right.data(), CameraModel{}, 100, 100, 140, 120)
            .matched);
}

TEST(RegionMatcher, KnownShiftOfASmoothPatternIsFound) {
    Pair shifted;
    const auto pattern = [](double x, double y) {
        return 128 + 50 * std::sin(x * 0.31 + y * 0.07) + 40 * std::cos(x * 0.113 - y * 0.21) +
               20 * std::sin(x * 0.71 + 1.3);
    };
    Fill(shifted.left, [&](int x, int y) { return static_cast<int>(std::lround(pattern(x, y))); });
    Fill(shifted.right,
         [&](int x, int y) { return static_cast<int>(std::lround(pattern(x + 9.4, y))); });
    const RegionMatch match =
        MatchRegion(shifted.left.data(), shifted.right.data(), CameraModel{}, 120, 80, 160, 110);
    ASSERT_TRUE(match.matched);
    EXPECT_NEAR(match.disparity, 9.4, 0.25);
}

TEST(RegionMatcher, BadRegionsAreCutOrRefusedWithoutReadingOutside) {
    StereoRenderer renderer(EmptyFloor());
    const Pair pair = FloorPair(renderer);
    const auto match = [&](int l, int t, int r, int b) {
        return MatchRegion(pair.left.data(), pair.right.data(), CameraModel{}, l, t, r, b);
    };
    EXPECT_FALSE(match(100, 100, 100, 120).matched);  // empty
    EXPECT_FALSE(match(100, 100, 102, 120).matched);  // two pixels wide
    EXPECT_FALSE(match(400, 300, 500, 400).matched);  // outside
    EXPECT_FALSE(match(-50, -50, -10, -10).matched);
    EXPECT_FALSE(match(0, 100, 30, 120).matched);  // no room to search leftwards
    // Sides given the other way round measure the same region.
    const RegionMatch forwards = match(200, 180, 230, 200);
    const RegionMatch backwards = match(230, 200, 200, 180);
    ASSERT_TRUE(forwards.matched);
    EXPECT_EQ(forwards.disparity, backwards.disparity);
    // Partly outside the picture: cut at the border.
    const RegionMatch cut = match(300, 225, 65535, 65535);
    const RegionMatch inside = match(300, 225, 320, 240);
    EXPECT_EQ(cut.matched, inside.matched);
    EXPECT_EQ(cut.disparity, inside.disparity);
    EXPECT_FALSE(
        MatchRegion(nullptr, pair.right.data(), CameraModel{}, 100, 100, 130, 120).matched);
}
