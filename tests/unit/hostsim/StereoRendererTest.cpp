// The stand-in camera's pictures over time. Where the template lies and how
// far the right picture is shifted is checked by finding them in the pictures
// (CornerRefinerTest, RegionMatcherTest).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "tools/hostsim/StereoRenderer.h"

using namespace hostsim;

namespace {

// Pixel (x, y) of a bottom-up BGR picture, y downwards.
const unsigned char* PixelAt(const std::vector<unsigned char>& picture, int x, int y) {
    return &picture[(static_cast<std::size_t>(kPictureHeight - 1 - y) * kPictureWidth +
                     static_cast<std::size_t>(x)) *
                    3];
}

}  // namespace

TEST(StereoRenderer, SameTimeSamePicturesAndPeopleMove) {
    StereoRenderer renderer(DefaultScene(CameraModel{}));
    std::vector<unsigned char> a(kPictureBytes), b(kPictureBytes), c(kPictureBytes),
        r(kPictureBytes);
    renderer.Render(1.0, a.data(), r.data());
    renderer.Render(1.0, b.data(), r.data());
    EXPECT_EQ(a, b);
    renderer.Render(1.5, c.data(), r.data());
    EXPECT_NE(a, c);
    // Where a person stands at 1.0 s their colour covers the floor.
    const auto box = renderer.WalkerBox(0, 1.0);
    ASSERT_LT(box[0], box[2]);
    ASSERT_LT(box[1], box[3]);
    Scene empty = DefaultScene(CameraModel{});
    empty.people.clear();
    StereoRenderer floorOnly(empty);
    std::vector<unsigned char> floor(kPictureBytes);
    floorOnly.Render(1.0, floor.data(), nullptr);
    int changed = 0;
    for (int y = box[1]; y < box[3]; ++y)
        for (int x = box[0]; x < box[2]; ++x)
            changed += std::memcmp(PixelAt(a, x, y), PixelAt(floor, x, y), 3) != 0;
    EXPECT_GT(changed, (box[2] - box[0]) * (box[3] - box[1]) / 8);
    // Outside every person's box nothing differs from the bare floor.
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            bool inBox = false;
            for (std::size_t k = 0; k < renderer.scene().people.size(); ++k) {
                const auto bb = renderer.WalkerBox(k, 1.0);
                inBox |= x >= bb[0] && x < bb[2] && y >= bb[1] && y < bb[3];
            }
            if (!inBox) {
                ASSERT_EQ(std::memcmp(PixelAt(a, x, y), PixelAt(floor, x, y), 3), 0);
            }
        }
    }
}

TEST(StereoRenderer, WalkersGoBackAndForthBetweenTheirEnds) {
    StereoRenderer renderer(DefaultScene(CameraModel{}));
    const Walker& w = renderer.scene().people[0];
    const double length = std::hypot(w.to.x - w.from.x, w.to.y - w.from.y);
    const double oneWay = length / w.speed;
    const Vec2 start = renderer.WalkerPosition(0, -w.phase);
    const Vec2 turn = renderer.WalkerPosition(0, -w.phase + oneWay);
    const Vec2 back = renderer.WalkerPosition(0, -w.phase + 2 * oneWay);
    EXPECT_NEAR(start.x, w.from.x, 1e-6);
    EXPECT_NEAR(turn.x, w.to.x, 1e-6);
    EXPECT_NEAR(turn.y, w.to.y, 1e-6);
    EXPECT_NEAR(back.x, w.from.x, 1e-6);
    EXPECT_THROW(renderer.WalkerPosition(7, 0), std::out_of_range);
}

TEST(StereoRenderer, PersonRightUnderACameraLookingUpIsNotLost) {
    Scene scene = DefaultScene(CameraModel{});
    scene.pose = {90 * 3.14159265358979 / 180, 0, 0, 150};  // below head height
    scene.people.resize(1);
    scene.people[0].from = scene.people[0].to = {0, 0};
    StereoRenderer renderer(scene);
    std::vector<unsigned char> left(kPictureBytes), right(kPictureBytes);
    renderer.Render(0, left.data(), right.data());  // camera inside the head: no crash
    const auto box = renderer.WalkerBox(0, 0);
    EXPECT_EQ(box[2] - box[0], kPictureWidth);
}
