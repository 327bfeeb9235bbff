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

TEST(CameraAngles, TiltShownIsAngleYZPlusNinetyDegrees) {
    const CameraAngles down = AnglesOfPose({90 * kDeg, 0, 0, 240});
    EXPECT_NEAR(down.angleYZ, 0.0, 1e-7);
    const CameraPose fromDefault = PoseOfAngles({0.0f, -0.785398f, 0.0f}, 240);
    EXPECT_NEAR(fromDefault.tilt / kDeg, 45.0, 1e-4);
    const CameraAngles level = AnglesOfPose({0, 0, 0, 240});
    EXPECT_NEAR(level.angleYZ, -std::numbers::pi / 2, 1e-6);
    const CameraAngles some = AnglesOfPose({60 * kDeg, 2 * kDeg, -7 * kDeg, 240});
    EXPECT_NEAR(some.angleXY, 2 * kDeg, 1e-7);
    EXPECT_NEAR(some.angleXZ, -7 * kDeg, 1e-7);
}

TEST(CameraFrame, StraightDownCameraSeesItsFootAtThePrincipalPoint) {
    const CameraFrame frame(CameraModel{}, {90 * kDeg, 0, 0, 300});
    const auto foot = frame.FloorPoint(159.5, 119.5);
    ASSERT_TRUE(foot);
    EXPECT_NEAR(foot->x, 0, 1e-9);
    EXPECT_NEAR(foot->y, 0, 1e-9);
    // Picture up is floor +Y; picture right is floor +X.
    const auto up = frame.FloorPoint(159.5, 119.5 - 26);
    const auto right = frame.FloorPoint(159.5 + 26, 119.5);
    ASSERT_TRUE(up && right);
    EXPECT_NEAR(up->y, 30, 1e-9);  // 300 cm * 26 / 260
    EXPECT_NEAR(right->x, 30, 1e-9);
}

TEST(CameraFrame, ProjectAndFloorPointAreInverse) {
    const CameraFrame frame(CameraModel{}, {50 * kDeg, 4 * kDeg, 10 * kDeg, 250});
    for (Vec3 world : {Vec3{0, 200, 0}, Vec3{-80, 150, 0}, Vec3{120, 400, 0}}) {
        const auto p = frame.Project(world);
        ASSERT_TRUE(p);
        const auto back = frame.FloorPoint(p->x, p->y);
        ASSERT_TRUE(back);
        EXPECT_NEAR(back->x, world.x, 1e-6);
        EXPECT_NEAR(back->y, world.y, 1e-6);
    }
}

TEST(CameraFrame, NoFloorAtOrAboveTheHorizonOrBehindTheCamera) {
    const CameraFrame level(CameraModel{}, {0, 0, 0, 240});
    EXPECT_FALSE(level.FloorPoint(159.5, 119.5));  // the horizon itself
    EXPECT_FALSE(level.FloorPoint(159.5, 10));     // above it
    EXPECT_TRUE(level.FloorPoint(159.5, 200));
    EXPECT_FALSE(level.Project({0, -100, 0}));  // behind
    const CameraFrame buried(CameraModel{}, {90 * kDeg, 0, 0, -5});
    EXPECT_FALSE(buried.FloorPoint(159.5, 119.5));
}

TEST(AnglesFromCorners, ExactCornersGiveThePoseBack) {
    for (const CameraPose& pose :
         {CameraPose{60 * kDeg, 1.5 * kDeg, 3 * kDeg, 240}, CameraPose{45 * kDeg, 0, 0, 240},
          CameraPose{75 * kDeg, -4 * kDeg, -12 * kDeg, 320},
          CameraPose{35 * kDeg, 3 * kDeg, 8 * kDeg, 200}}) {
        const auto angles = AnglesFromCorners(CameraModel{}, TemplateSeenFrom(pose, AheadOf(pose)));
        ASSERT_TRUE(angles) << pose.tilt / kDeg;
        const CameraAngles truth = AnglesOfPose(pose);
        EXPECT_NEAR(angles->angleYZ, truth.angleYZ, 1e-5);
        EXPECT_NEAR(angles->angleXY, truth.angleXY, 1e-5);
        EXPECT_NEAR(angles->angleXZ, truth.angleXZ, 1e-5);
    }
}

// Corners known to a sixth of a pixel (what the host's refinement of the
// clicks reaches, CornerRefinerTest) give the tilt within half a degree over
// the whole range of mountings.
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

TEST(AnglesFromCorners, StraightDownSquareReadsNinetyDegrees) {
    // A 100 cm square centred below a camera 250 cm up: 104 px a side.
    const TemplateCorners corners{Vec2{107.5, 171.5}, Vec2{211.5, 171.5}, Vec2{107.5, 67.5},
                                  Vec2{211.5, 67.5}};
    const auto angles = AnglesFromCorners(CameraModel{}, corners);
    ASSERT_TRUE(angles);
    EXPECT_NEAR(angles->angleYZ, 0.0, 1e-6);
    EXPECT_NEAR(angles->angleXZ, 0.0, 1e-6);
}

TEST(AnglesFromCorners, UpsideDownPictureStillFindsTheTilt) {
    const CameraPose pose{50 * kDeg, 180 * kDeg, 0, 240};
    // The program orders corners by picture position: turned half round, the
    // near side of the template is now at the top of the picture.
    const auto c = TemplateSeenFrom(pose, AheadOf({50 * kDeg, 0, 0, 240}));
    const TemplateCorners bySlot{c[3], c[2], c[1], c[0]};
    const auto angles = AnglesFromCorners(CameraModel{}, bySlot);
    ASSERT_TRUE(angles);
    EXPECT_NEAR((angles->angleYZ + std::numbers::pi / 2) / kDeg, 50.0, 1e-3);
}

TEST(AnglesFromCorners, RefusesMissingOrImpossibleCorners) {
    const TemplateCorners good{Vec2{100, 180}, Vec2{200, 180}, Vec2{120, 100}, Vec2{180, 100}};
    ASSERT_TRUE(AnglesFromCorners(CameraModel{}, good));
    auto missing = good;
    missing[2] = {-1, -1};
    EXPECT_FALSE(AnglesFromCorners(CameraModel{}, missing));
    auto crossed = good;  // upper corners swapped: a bow tie
    std::swap(crossed[2], crossed[3]);
    EXPECT_FALSE(AnglesFromCorners(CameraModel{}, crossed));
    const TemplateCorners line{Vec2{10, 10}, Vec2{20, 20}, Vec2{30, 30}, Vec2{40, 40}};
    EXPECT_FALSE(AnglesFromCorners(CameraModel{}, line));
    const TemplateCorners same{Vec2{50, 50}, Vec2{50, 50}, Vec2{50, 50}, Vec2{50, 50}};
    EXPECT_FALSE(AnglesFromCorners(CameraModel{}, same));
    // A long thin rectangle seen straight on is not a square.
    const TemplateCorners strip{Vec2{20, 130}, Vec2{300, 130}, Vec2{20, 110}, Vec2{300, 110}};
    EXPECT_FALSE(AnglesFromCorners(CameraModel{}, strip));
    auto notFinite = good;
    notFinite[0].x = std::nan("");
    EXPECT_FALSE(AnglesFromCorners(CameraModel{}, notFinite));
    CameraModel noLens;
    noLens.focalLength = 0;
    EXPECT_FALSE(AnglesFromCorners(noLens, good));
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

// "In" is the side of the camera's foot, perpendicular to the line, whatever
// the drawing order; no floor above the horizon, beyond the int16 range or
// for a camera on the floor.
TEST(FloorLine, InSideAndFloorPointsOfPictureLines) {
    constexpr double kHalfPi = std::numbers::pi / 2;
    const struct {
        const char* what;
        double tilt, height;
        int x1, y1, x2, y2;
        int onFloor;  // 1 yes, 0 no, -1 either
        double angleIn, tolerance = 1e-6;
    } cases[] = {// At 60 degrees the foot is below the picture: "in" points down it.
                 {"level, rightwards", 60, 240, 60, 150, 260, 150, 1, kHalfPi},
                 {"level, leftwards", 60, 240, 260, 150, 60, 150, 1, kHalfPi},
                 // Straight down the foot is at the picture centre.
                 {"above the foot", 90, 240, 60, 50, 260, 50, 1, kHalfPi},
                 {"below the foot", 90, 240, 60, 200, 260, 200, 1, -kHalfPi},
                 {"left of the foot", 90, 240, 100, 20, 100, 220, 1, 0.0},
                 // Right of the drawing direction when there is no foot to face.
                 {"above the horizon", 0, 240, 60, 40, 260, 40, 0, kHalfPi},
                 {"just below the horizon, beyond int16", 0, 240, 60, 121, 260, 121, 0, kHalfPi},
                 {"a dot has no direction", 60, 240, 150, 150, 150, 150, 1, 0.0},
                 {"camera on the floor", 60, 0, 60, 150, 260, 150, 0, kHalfPi},
                 {"far outside the picture", 60, 240, 65535, 0, 0, 0, -1, -kHalfPi, 1e-3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const FloorLine line = FloorLineOf(CameraModel{}, Stored({c.tilt * kDeg, 0, 0, 240}),
                                           static_cast<float>(c.height), c.x1, c.y1, c.x2, c.y2);
        if (c.onFloor != -1) {
            EXPECT_EQ(line.onFloor, c.onFloor == 1);
        }
        EXPECT_NEAR(line.angleIn, c.angleIn, c.tolerance);
        if (c.onFloor == 0) {
            EXPECT_EQ(line.x1, -1);
            EXPECT_EQ(line.y1, -1);
            EXPECT_EQ(line.x2, -1);
            EXPECT_EQ(line.y2, -1);
        }
    }
    const CameraAngles sixty = Stored({60 * kDeg, 0, 0, 240});
    const FloorLine rightwards = FloorLineOf(CameraModel{}, sixty, 240, 60, 150, 260, 150);
    const FloorLine leftwards = FloorLineOf(CameraModel{}, sixty, 240, 260, 150, 60, 150);
    EXPECT_EQ(rightwards.x1, leftwards.x2);
    EXPECT_EQ(rightwards.y1, leftwards.y2);
    const CameraAngles down = Stored({90 * kDeg, 0, 0, 240});
    EXPECT_GT(FloorLineOf(CameraModel{}, down, 240, 60, 50, 260, 50).y1, 0);
    EXPECT_LT(FloorLineOf(CameraModel{}, down, 240, 60, 200, 260, 200).y1, 0);
    const FloorLine dot = FloorLineOf(CameraModel{}, sixty, 240, 150, 150, 150, 150);
    EXPECT_EQ(dot.x1, dot.x2);
    EXPECT_EQ(dot.angleIn, 0.0f);
    // A slanted line: "in" perpendicular to (160, 80), pointing down the picture.
    const FloorLine slanted = FloorLineOf(CameraModel{}, sixty, 240, 80, 100, 240, 180);
    EXPECT_NEAR(std::cos(slanted.angleIn) * 160 + std::sin(slanted.angleIn) * 80, 0.0, 1e-3);
    EXPECT_GT(std::sin(slanted.angleIn), 0);
}
