#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "tools/hostsim/CornerRefiner.h"
#include "tools/hostsim/StereoRenderer.h"

using namespace hostsim;

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

Scene TemplateScene(double tilt, double roll, double pan, double sideways) {
    Scene scene = DefaultScene(CameraModel{});
    scene.pose = {tilt * kDeg, roll * kDeg, pan * kDeg, 240};
    scene.people.clear();
    const CameraFrame frame(scene.model, scene.pose);
    const auto ahead = frame.FloorPoint(159.5 + sideways, 125);
    scene.templateCentre = ahead ? *ahead : Vec2{0, 150};
    return scene;
}

TemplateCorners Clicked(const TemplateCorners& exact, double dx = 0, double dy = 0) {
    TemplateCorners c;
    for (std::size_t i = 0; i < 4; ++i)
        c[i] = {std::round(exact[i].x + dx), std::round(exact[i].y + dy)};
    return c;
}

}  // namespace

// The whole path of the Camera Angle dialog: the user clicks the template's
// corners on the rendered live picture (to the nearest pixel, or a pixel or
// two off), the host refines them and fits the camera; the tilt shown must be
// within half a degree of the truth.
TEST(CornerRefiner, TiltFromRenderedTemplateWithinHalfADegree) {
    struct Case {
        double tilt, roll, pan, sideways, clickedOffX = 0, clickedOffY = 0;
    };
    for (const Case& c : {Case{35, 0, 0, 0}, Case{45, 0, 0, 0}, Case{45, -3, 8, -40},
                          Case{60, 1.5, 3, 0}, Case{60, 4, -10, 50}, Case{75, -2, 5, 30},
                          Case{88, 0, 0, 0}, Case{60, 0, 0, 0, 1.6, -1.7}}) {
        StereoRenderer renderer(TemplateScene(c.tilt, c.roll, c.pan, c.sideways));
        std::vector<unsigned char> left(kPictureBytes);
        renderer.Render(0, left.data(), nullptr);
        const TemplateCorners truth = renderer.TemplateInPicture();
        const TemplateCorners refined =
            RefineCorners(left.data(), Clicked(truth, c.clickedOffX, c.clickedOffY));
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_NEAR(refined[i].x, truth[i].x, 0.25) << c.tilt << " corner " << i;
            EXPECT_NEAR(refined[i].y, truth[i].y, 0.25) << c.tilt << " corner " << i;
        }
        const auto angles = AnglesFromCorners(CameraModel{}, refined);
        ASSERT_TRUE(angles) << c.tilt;
        EXPECT_NEAR((angles->angleYZ + std::numbers::pi / 2) / kDeg, c.tilt, 0.5)
            << c.roll << " " << c.pan << " " << c.sideways;
    }
}

TEST(CornerRefiner, KeepsClicksWithoutStructureOrOutsideThePicture) {
    std::vector<unsigned char> flat(kPictureBytes, 90);
    const TemplateCorners clicks{Vec2{10, 10}, Vec2{0, 0}, Vec2{319, 239}, Vec2{-1, -1}};
    const TemplateCorners kept = RefineCorners(flat.data(), clicks);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(kept[i].x, clicks[i].x);
        EXPECT_EQ(kept[i].y, clicks[i].y);
    }
    const TemplateCorners far{Vec2{5000, 10}, Vec2{10, 65535}, Vec2{std::nan(""), 3}, Vec2{3, 3}};
    const TemplateCorners farKept = RefineCorners(flat.data(), far);
    EXPECT_EQ(farKept[0].x, 5000);
    EXPECT_EQ(farKept[1].y, 65535);
    const TemplateCorners none = RefineCorners(nullptr, clicks);
    EXPECT_EQ(none[0].x, 10);
}

TEST(CornerRefiner, AStraightEdgeAloneDoesNotPullTheClickAlongIt) {
    // A vertical edge: the position along it is unknown, so the click stays.
    std::vector<unsigned char> edge(kPictureBytes);
    for (int y = 0; y < kPictureHeight; ++y)
        for (int x = 0; x < kPictureWidth; ++x) {
            unsigned char* p = &edge[(static_cast<std::size_t>(y) * kPictureWidth + x) * 3];
            p[0] = p[1] = p[2] = x < 150 ? 30 : 230;
        }
    const TemplateCorners clicks{Vec2{151, 100}, Vec2{20, 20}, Vec2{20, 40}, Vec2{40, 20}};
    const TemplateCorners refined = RefineCorners(edge.data(), clicks);
    EXPECT_EQ(refined[0].x, 151);
    EXPECT_EQ(refined[0].y, 100);
}
