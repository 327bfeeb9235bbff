#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tools/hostsim/CameraGeometry.h"

using namespace hostsim;

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

// What the settings file keeps of an angle: six decimals, then single precision.
float SixDecimals(double radians) {
    return static_cast<float>(std::round(radians * 1e6) / 1e6);
}

CameraAngles Stored(const CameraPose& pose) {
    const CameraAngles a = AnglesOfPose(pose);
    return {SixDecimals(a.angleXY), SixDecimals(a.angleYZ), SixDecimals(a.angleXZ)};
}

// Each corner pushed a sixth of a pixel, each a different way.
TemplateCorners Jittered(const TemplateCorners& exact) {
    constexpr double e = 1.0 / 6;
    const double push[4][2] = {{e, -e}, {-e, -e}, {e, e}, {-e, e}};
    TemplateCorners c;
    for (std::size_t i = 0; i < 4; ++i) c[i] = {exact[i].x + push[i][0], exact[i].y + push[i][1]};
    return c;
}

// Picture corners (slot order) of a square template of `size` cm centred at
// `centre` on the floor, sides along X and Y.
TemplateCorners TemplateSeenFrom(const CameraPose& pose, Vec2 centre, double size = 100) {
    const CameraFrame frame(CameraModel{}, pose);
    const double h = size / 2;
    const std::array<Vec3, 4> floor{
        Vec3{centre.x - h, centre.y - h, 0}, Vec3{centre.x + h, centre.y - h, 0},
        Vec3{centre.x - h, centre.y + h, 0}, Vec3{centre.x + h, centre.y + h, 0}};
    TemplateCorners corners;
    for (std::size_t i = 0; i < 4; ++i) {
        const auto p = frame.Project(floor[i]);
        corners[i] = p ? *p : Vec2{-1, -1};
    }
    return corners;
}

// Floor point straight ahead of the picture centre, where a user lays the template.
Vec2 AheadOf(const CameraPose& pose, double sideways = 0) {
    const CameraFrame frame(CameraModel{}, pose);
    const auto p = frame.FloorPoint(159.5 + sideways, 130);
    return p ? *p : Vec2{0, 0};
}

}  // namespace

// Corners known to a sixth of a pixel (what the host's refinement of the
// clicks aims at) give the tilt within half a degree over the whole range of
// mountings; from the clicks on the rendered picture to the tilt shown, end to
// end: CameraAngleTest.
TEST(AnglesFromCorners, CornersOffByASixthOfAPixelGiveTheTiltWithinHalfADegree) {
    for (double tilt : {30.0, 40.0, 45.0, 55.0, 60.0, 70.0, 80.0, 88.0}) {
        for (double roll : {-4.0, 0.0, 2.5}) {
            for (double pan : {-10.0, 0.0, 6.0}) {
                for (double sideways : {-60.0, 0.0, 50.0}) {
                    const CameraPose pose{tilt * kDeg, roll * kDeg, pan * kDeg, 240};
                    const auto angles = AnglesFromCorners(
                        CameraModel{}, Jittered(TemplateSeenFrom(pose, AheadOf(pose, sideways))));
                    ASSERT_TRUE(angles) << tilt << " " << roll << " " << pan;
                    const double shownTilt = (angles->angleYZ + std::numbers::pi / 2) / kDeg;
                    EXPECT_NEAR(shownTilt, tilt, 0.5) << roll << " " << pan << " " << sideways;
                }
            }
        }
    }
}

TEST(FloorLine, EndsLandWithinTwoCentimetresOfTheFloorTruth) {
    for (const CameraPose& pose :
         {CameraPose{60 * kDeg, 1.5 * kDeg, 3 * kDeg, 240}, CameraPose{45 * kDeg, 0, 0, 240},
          CameraPose{80 * kDeg, -2 * kDeg, 20 * kDeg, 300}}) {
        const CameraFrame frame(CameraModel{}, pose);
        const CameraAngles stored = Stored(pose);
        // Points on the floor at whole centimetres, seen at whole pixels.
        for (Vec2 a : {AheadOf(pose, -40), AheadOf(pose, 0)}) {
            const Vec3 truth1{std::round(a.x), std::round(a.y), 0};
            const Vec3 truth2{truth1.x + 60, truth1.y - 10, 0};
            const auto p1 = frame.Project(truth1);
            const auto p2 = frame.Project(truth2);
            ASSERT_TRUE(p1 && p2);
            // The user clicks whole pixels: about 2 cm of floor a pixel here.
            const FloorLine line = FloorLineOf(
                CameraModel{}, stored, pose.height, static_cast<int>(std::lround(p1->x)),
                static_cast<int>(std::lround(p1->y)), static_cast<int>(std::lround(p2->x)),
                static_cast<int>(std::lround(p2->y)));
            ASSERT_TRUE(line.onFloor);
            EXPECT_NEAR(line.x1, truth1.x, 2.0);
            EXPECT_NEAR(line.y1, truth1.y, 2.0);
            EXPECT_NEAR(line.x2, truth2.x, 2.0);
            EXPECT_NEAR(line.y2, truth2.y, 2.0);
        }
    }
}
