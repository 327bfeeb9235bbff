#pragma once
// Geometry of the simulated stereo camera above a flat floor.
//
// World frame: centimetres, floor at Z = 0, Z up; X and Y lie along the sides
// of the square template on the floor (X to the right of the camera's view,
// Y away from the camera). The camera's foot point (the floor point straight
// below the left camera) is the origin, so the left camera sits at (0, 0, H).
//
// Picture frame: pixels of the 320 x 240 picture as shown, x to the right,
// y downwards; a pixel's centre is at integer coordinates.
//
// Angles as stored ("Angle XY", "Angle YZ", "Angle XZ", radians):
//   Angle YZ = tilt - pi/2, where tilt is the depression of the optical axis
//              below the horizon: a camera looking straight down has tilt
//              pi/2 and Angle YZ 0; a level camera has Angle YZ -pi/2. The
//              program shows Angle YZ + 90 degrees, i.e. the tilt.
//   Angle XY = roll about the optical axis; positive roll turns the camera
//              clockwise as seen from behind (its right side down), so the
//              horizon rises to the right in the picture.
//   Angle XZ = pan: the camera's heading on the floor, measured from the
//              template's Y side, positive towards -X (counter-clockwise
//              seen from above). Looking straight down, roll and pan turn
//              about the same axis; roll is then 0 and pan carries the turn.
#include <array>
#include <cstdint>
#include <optional>

namespace hostsim {

struct Vec2 {
    double x = 0;
    double y = 0;
};

struct Vec3 {
    double x = 0;
    double y = 0;
    double z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(double s, Vec3 a) {
    return {s * a.x, s * a.y, s * a.z};
}
inline double Dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 Cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Length(Vec3 a);
Vec3 Normalized(Vec3 a);

// Pinhole model of the rectified pair (both cameras share it).
struct CameraModel {
    float focalLength = 260.0f;  // pixels
    float principalX = 159.5f;   // pixels
    float principalY = 119.5f;
    float baseline = 10.0f;  // centimetres; the right camera sits this far along +x
    std::int32_t width = 320;
    std::int32_t height = 240;
};

// The stored camera angles, radians.
struct CameraAngles {
    float angleXY = 0.0f;
    float angleYZ = 0.0f;
    float angleXZ = 0.0f;
};

// How the camera is mounted.
struct CameraPose {
    double tilt = 0;    // depression of the optical axis, radians (pi/2 = straight down)
    double roll = 0;    // radians
    double pan = 0;     // radians
    double height = 0;  // centimetres above the floor
};

CameraAngles AnglesOfPose(const CameraPose& pose);
CameraPose PoseOfAngles(const CameraAngles& angles, double height);

// The camera's axes in world coordinates (right, down, forward) and its centre.
class CameraFrame {
  public:
    CameraFrame(const CameraModel& model, const CameraPose& pose);
    // The same camera moved along its own x axis (the right camera: +baseline).
    CameraFrame Shifted(double alongX) const;

    const CameraModel& model() const { return m_model; }
    Vec3 centre() const { return m_centre; }
    Vec3 right() const { return m_x; }
    Vec3 down() const { return m_y; }
    Vec3 forward() const { return m_z; }

    // Direction (not normalised; forward component 1) of the ray through a
    // picture point.
    Vec3 RayThrough(double x, double y) const;
    // Camera coordinates of a world point (z = depth along the optical axis).
    Vec3 ToCamera(Vec3 world) const;
    // Picture point of a world point in front of the camera.
    std::optional<Vec2> Project(Vec3 world) const;
    // Floor point (Z = 0) seen through a picture point; none at or above the horizon.
    std::optional<Vec2> FloorPoint(double x, double y) const;

  private:
    CameraModel m_model;
    Vec3 m_x, m_y, m_z, m_centre;
};

// Template corners in the program's slot order: lower-left, lower-right,
// upper-left, upper-right (picture coordinates).
using TemplateCorners = std::array<Vec2, 4>;

// Camera angles from the four corners of a square lying on the floor: the
// two vanishing points of its sides give the floor's orientation as the
// camera sees it. None when a corner is missing (negative), the corners do
// not form a convex quadrilateral in slot order, or they cannot be the
// picture of a square seen from above the floor.
std::optional<CameraAngles> AnglesFromCorners(const CameraModel& model,
                                              const TemplateCorners& corners);

// A world counting line as the CountingLine block holds it.
struct FloorLine {
    std::int16_t x1 = -1, y1 = -1, x2 = -1, y2 = -1;  // centimetres, -1 = none
    float angleIn = 0.0f;                             // radians, picture frame
    bool onFloor = false;  // both ends hit the floor within the int16 range
};

// Floor coordinates of the picture line's ends (ray-floor intersection with
// the stored angles and height) and the "in" direction. "In" is the side of
// the line on which the camera's foot point lies (people walking in move
// towards the camera); AngleIN is the picture direction perpendicular to the
// line pointing to that side, atan2(dy, dx) with y downwards, so the view puts
// its in arrow on that side. Without floor points (an end at or above the
// horizon, or farther than 327 m) the ends stay -1 and "in" is the side to
// the right of the direction from point 1 to point 2 as drawn on the picture
// (with y downwards).
FloorLine FloorLineOf(const CameraModel& model, const CameraAngles& angles, double height, int x1,
                      int y1, int x2, int y2);

}  // namespace hostsim
