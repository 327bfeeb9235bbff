#include "tools/hostsim/CameraGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace hostsim {

double Length(Vec3 a) {
    return std::sqrt(Dot(a, a));
}

Vec3 Normalized(Vec3 a) {
    const double length = Length(a);
    return length > 0 ? (1.0 / length) * a : a;
}

namespace {

constexpr double kPi = std::numbers::pi;

Vec3 RotateAboutZ(Vec3 v, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    return {c * v.x - s * v.y, s * v.x + c * v.y, v.z};
}

struct Axes {
    Vec3 x, y, z;  // camera right, down, forward in world coordinates
};

Axes AxesOfPose(const CameraPose& pose) {
    const double st = std::sin(pose.tilt), ct = std::cos(pose.tilt);
    const Vec3 x0{1, 0, 0};
    const Vec3 y0{0, -st, -ct};
    const Vec3 z0{0, ct, -st};
    const double sr = std::sin(pose.roll), cr = std::cos(pose.roll);
    const Vec3 x1 = cr * x0 + sr * y0;
    const Vec3 y1 = (-sr) * x0 + cr * y0;
    return {RotateAboutZ(x1, pose.pan), RotateAboutZ(y1, pose.pan), RotateAboutZ(z0, pose.pan)};
}

// Tilt, roll and pan of a camera whose axes are given in world coordinates.
CameraPose PoseOfAxes(const Axes& axes) {
    CameraPose pose;
    pose.tilt = -std::asin(std::clamp(axes.z.z, -1.0, 1.0));
    const double level = std::cos(pose.tilt);
    Vec2 heading;
    if (level > 1e-6) {
        pose.roll = std::atan2(-axes.x.z, -axes.y.z);
        heading = {axes.z.x, axes.z.y};
    } else {  // straight down: the picture's up direction gives the heading
        pose.roll = 0;
        heading = {-axes.y.x, -axes.y.y};
    }
    pose.pan = std::atan2(-heading.x, heading.y);
    return pose;
}

// Solves the n x n system a * x = b in place (Gauss with partial pivoting).
template <std::size_t N>
bool Solve(std::array<std::array<double, N + 1>, N>& a, std::array<double, N>& x) {
    for (std::size_t col = 0; col < N; ++col) {
        std::size_t pivot = col;
        for (std::size_t row = col + 1; row < N; ++row)
            if (std::fabs(a[row][col]) > std::fabs(a[pivot][col])) pivot = row;
        if (std::fabs(a[pivot][col]) < 1e-12) return false;
        std::swap(a[col], a[pivot]);
        for (std::size_t row = col + 1; row < N; ++row) {
            const double factor = a[row][col] / a[col][col];
            for (std::size_t k = col; k <= N; ++k) a[row][k] -= factor * a[col][k];
        }
    }
    for (std::size_t i = N; i-- > 0;) {
        double sum = a[i][N];
        for (std::size_t k = i + 1; k < N; ++k) sum -= a[i][k] * x[k];
        x[i] = sum / a[i][i];
    }
    return true;
}

double Cross2(Vec2 a, Vec2 b) {
    return a.x * b.y - a.y * b.x;
}
Vec2 Sub2(Vec2 a, Vec2 b) {
    return {a.x - b.x, a.y - b.y};
}

bool ConvexInOrder(const std::array<Vec2, 4>& ring) {
    int sign = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const Vec2 e1 = Sub2(ring[(i + 1) % 4], ring[i]);
        const Vec2 e2 = Sub2(ring[(i + 2) % 4], ring[(i + 1) % 4]);
        const double turn = Cross2(e1, e2);
        if (std::fabs(turn) < 1e-9) return false;
        const int s = turn > 0 ? 1 : -1;
        if (sign != 0 && s != sign) return false;
        sign = s;
    }
    return true;
}

// Camera-from-floor rotation as its three columns: the floor's X, Y and Z
// axes in camera coordinates.
struct Rotation {
    Vec3 c1, c2, c3;
};

Vec3 Apply(const Rotation& r, Vec3 v) {
    return v.x * r.c1 + v.y * r.c2 + v.z * r.c3;
}

// exp([w]x) * r: turns every column by the rotation vector w.
Rotation Turned(const Rotation& r, Vec3 w) {
    const double angle = Length(w);
    if (angle < 1e-15) return r;
    const Vec3 k = (1.0 / angle) * w;
    const double c = std::cos(angle), s = std::sin(angle);
    const auto turn = [&](Vec3 v) {
        return c * v + s * Cross(k, v) + ((1 - c) * Dot(k, v)) * k;  // Rodrigues
    };
    return {turn(r.c1), turn(r.c2), turn(r.c3)};
}

// Least-squares fit of a unit square's pose to four picture corners (slot
// order), starting from `rotation` and `t`; ySide is -1 when the slot order
// mirrors the floor's Y side. Keeps the start when a step does not improve.
void RefineSquarePose(const CameraModel& model, const TemplateCorners& corners, double ySide,
                      Rotation& rotation, Vec3& t) {
    const std::array<Vec3, 4> square{Vec3{0, 0, 0}, Vec3{1, 0, 0}, Vec3{0, ySide, 0},
                                     Vec3{1, ySide, 0}};
    std::array<Vec2, 4> seen;
    for (std::size_t i = 0; i < 4; ++i)
        seen[i] = {(corners[i].x - model.principalX) / model.focalLength,
                   (corners[i].y - model.principalY) / model.focalLength};
    const auto residuals = [&](const Rotation& r, Vec3 move, std::array<double, 8>& out) {
        for (std::size_t i = 0; i < 4; ++i) {
            const Vec3 c = Apply(r, square[i]) + move;
            if (c.z <= 1e-9) return false;
            out[2 * i] = c.x / c.z - seen[i].x;
            out[2 * i + 1] = c.y / c.z - seen[i].y;
        }
        return true;
    };
    const auto cost = [](const std::array<double, 8>& e) {
        double sum = 0;
        for (double v : e) sum += v * v;
        return sum;
    };
    std::array<double, 8> e{};
    if (!residuals(rotation, t, e)) return;
    double current = cost(e);
    for (int iteration = 0; iteration < 30 && current > 1e-20; ++iteration) {
        // Jacobian by central differences over (rotation vector, translation).
        std::array<std::array<double, 6>, 8> jacobian{};
        const double step = 1e-7;
        for (std::size_t p = 0; p < 6; ++p) {
            Vec3 w{}, dt{};
            double* slot = p < 3 ? (&w.x + p) : (&dt.x + (p - 3));
            std::array<double, 8> plus{}, minus{};
            *slot = step;
            const bool okPlus = residuals(Turned(rotation, w), t + dt, plus);
            *slot = -step;
            const bool okMinus = residuals(Turned(rotation, w), t + dt, minus);
            if (!okPlus || !okMinus) return;
            for (std::size_t k = 0; k < 8; ++k) jacobian[k][p] = (plus[k] - minus[k]) / (2 * step);
        }
        // Normal equations with a little damping.
        std::array<std::array<double, 7>, 6> normal{};
        for (std::size_t a = 0; a < 6; ++a) {
            for (std::size_t b = 0; b < 6; ++b) {
                double sum = 0;
                for (std::size_t k = 0; k < 8; ++k) sum += jacobian[k][a] * jacobian[k][b];
                normal[a][b] = sum + (a == b ? 1e-12 : 0);
            }
            double rhs = 0;
            for (std::size_t k = 0; k < 8; ++k) rhs -= jacobian[k][a] * e[k];
            normal[a][6] = rhs;
        }
        std::array<double, 6> delta{};
        if (!Solve<6>(normal, delta)) return;
        const Rotation nextRotation = Turned(rotation, {delta[0], delta[1], delta[2]});
        const Vec3 nextT = t + Vec3{delta[3], delta[4], delta[5]};
        std::array<double, 8> nextE{};
        if (!residuals(nextRotation, nextT, nextE)) return;
        const double next = cost(nextE);
        if (!(next < current)) return;
        rotation = nextRotation;
        t = nextT;
        e = nextE;
        current = next;
    }
}

}  // namespace

CameraAngles AnglesOfPose(const CameraPose& pose) {
    return {static_cast<float>(pose.roll), static_cast<float>(pose.tilt - kPi / 2),
            static_cast<float>(pose.pan)};
}

CameraPose PoseOfAngles(const CameraAngles& angles, double height) {
    return {static_cast<double>(angles.angleYZ) + kPi / 2, angles.angleXY, angles.angleXZ, height};
}

CameraFrame::CameraFrame(const CameraModel& model, const CameraPose& pose) : m_model(model) {
    const Axes axes = AxesOfPose(pose);
    m_x = axes.x;
    m_y = axes.y;
    m_z = axes.z;
    m_centre = {0, 0, pose.height};
}

CameraFrame CameraFrame::Shifted(double alongX) const {
    CameraFrame moved = *this;
    moved.m_centre = m_centre + alongX * m_x;
    return moved;
}

Vec3 CameraFrame::RayThrough(double x, double y) const {
    const double f = m_model.focalLength;
    return ((x - m_model.principalX) / f) * m_x + ((y - m_model.principalY) / f) * m_y + m_z;
}

Vec3 CameraFrame::ToCamera(Vec3 world) const {
    const Vec3 d = world - m_centre;
    return {Dot(d, m_x), Dot(d, m_y), Dot(d, m_z)};
}

std::optional<Vec2> CameraFrame::Project(Vec3 world) const {
    const Vec3 c = ToCamera(world);
    if (c.z <= 1e-9) return std::nullopt;
    const double f = m_model.focalLength;
    return Vec2{m_model.principalX + f * c.x / c.z, m_model.principalY + f * c.y / c.z};
}

std::optional<Vec2> CameraFrame::FloorPoint(double x, double y) const {
    if (m_centre.z <= 0) return std::nullopt;
    const Vec3 ray = RayThrough(x, y);
    if (ray.z >= -1e-12) return std::nullopt;
    const double t = -m_centre.z / ray.z;
    const Vec3 hit = m_centre + t * ray;
    return Vec2{hit.x, hit.y};
}

std::optional<CameraAngles> AnglesFromCorners(const CameraModel& model,
                                              const TemplateCorners& corners) {
    if (!(model.focalLength > 0)) return std::nullopt;
    for (const Vec2& c : corners)
        if (!std::isfinite(c.x) || !std::isfinite(c.y) || c.x < 0 || c.y < 0) return std::nullopt;
    // Slots: 0 lower-left, 1 lower-right, 2 upper-left, 3 upper-right.
    if (!ConvexInOrder({corners[0], corners[1], corners[3], corners[2]})) return std::nullopt;

    // Homography from the unit square on the floor to normalised picture
    // coordinates. Its first two columns are the vanishing points of the
    // square's two pairs of sides, i.e. the floor's X and Y directions as
    // the camera sees them.
    const std::array<Vec2, 4> square{Vec2{0, 0}, Vec2{1, 0}, Vec2{0, 1}, Vec2{1, 1}};
    std::array<std::array<double, 9>, 8> a{};
    for (std::size_t i = 0; i < 4; ++i) {
        const double X = square[i].x, Y = square[i].y;
        const double x = (corners[i].x - model.principalX) / model.focalLength;
        const double y = (corners[i].y - model.principalY) / model.focalLength;
        a[2 * i] = {X, Y, 1, 0, 0, 0, -x * X, -x * Y, x};
        a[2 * i + 1] = {0, 0, 0, X, Y, 1, -y * X, -y * Y, y};
    }
    std::array<double, 8> h{};
    if (!Solve<8>(a, h)) return std::nullopt;
    Vec3 r1{h[0], h[3], h[6]};
    Vec3 r2{h[1], h[4], h[7]};
    Vec3 t{h[2], h[5], 1.0};
    const double l1 = Length(r1), l2 = Length(r2);
    if (l1 < 1e-12 || l2 < 1e-12) return std::nullopt;
    // Both sides of a square have the same length: a large mismatch means the
    // corners are not the picture of a square on a plane.
    if (std::max(l1, l2) > 3.0 * std::min(l1, l2)) return std::nullopt;
    r1 = (1.0 / l1) * r1;
    r2 = (1.0 / l2) * r2;
    t = (2.0 / (l1 + l2)) * t;
    if (t.z < 0) {  // the square lies in front of the camera
        r1 = (-1.0) * r1;
        r2 = (-1.0) * r2;
        t = (-1.0) * t;
    }
    // Nearest orthonormal pair, splitting the error evenly between the two.
    const Vec3 sum = Normalized(r1 + r2), diff = Normalized(r1 - r2);
    r1 = (1.0 / std::sqrt(2.0)) * (sum + diff);
    r2 = (1.0 / std::sqrt(2.0)) * (sum - diff);
    Vec3 r3 = Cross(r1, r2);
    // The camera must be above the floor; a picture turned upside down
    // mirrors the slot order, which flips the floor's Y side.
    double ySide = 1.0;
    if (Dot(r3, t) >= 0) {
        r2 = (-1.0) * r2;
        r3 = Cross(r1, r2);
        ySide = -1.0;
    }
    // The vanishing points ignore that the four corners make a square of
    // equal sides; a few Gauss-Newton steps on the whole pose fit the square
    // to the clicked corners in the least-squares sense, which matters for a
    // small or distant template.
    Rotation rotation{r1, r2, r3};
    RefineSquarePose(model, corners, ySide, rotation, t);
    // Rows of [r1 r2 r3] are the camera's axes in floor coordinates.
    const Vec3 c1 = rotation.c1, c2 = rotation.c2, c3 = rotation.c3;
    const Axes axes{{c1.x, c2.x, c3.x}, {c1.y, c2.y, c3.y}, {c1.z, c2.z, c3.z}};
    const CameraPose pose = PoseOfAxes(axes);
    if (!std::isfinite(pose.tilt) || !std::isfinite(pose.roll) || !std::isfinite(pose.pan))
        return std::nullopt;
    return AnglesOfPose(pose);
}

FloorLine FloorLineOf(const CameraModel& model, const CameraAngles& angles, double height, int x1,
                      int y1, int x2, int y2) {
    FloorLine line;
    const double dx = x2 - x1, dy = y2 - y1;
    // Right of the drawing direction (y downwards).
    double nx = -dy, ny = dx;
    const CameraFrame frame(model, PoseOfAngles(angles, height));
    const auto w1 = frame.FloorPoint(x1, y1);
    const auto w2 = frame.FloorPoint(x2, y2);
    const auto fits = [](const std::optional<Vec2>& w) {
        return w && std::fabs(std::round(w->x)) <= 32767 && std::fabs(std::round(w->y)) <= 32767;
    };
    if (fits(w1) && fits(w2)) {
        line.onFloor = true;
        line.x1 = static_cast<std::int16_t>(std::lround(w1->x));
        line.y1 = static_cast<std::int16_t>(std::lround(w1->y));
        line.x2 = static_cast<std::int16_t>(std::lround(w2->x));
        line.y2 = static_cast<std::int16_t>(std::lround(w2->y));
        const Vec2 along = Sub2(*w2, *w1);
        const double footSide = Cross2(along, Sub2(Vec2{0, 0}, *w1));
        // Which floor side does the picture side "right of the line" show?
        const double length = std::hypot(nx, ny);
        if (length > 0 && std::fabs(footSide) > 1e-9) {
            const double mx = x1 + dx * 0.5, my = y1 + dy * 0.5;
            for (double step : {2.0, -2.0}) {
                const auto probe =
                    frame.FloorPoint(mx + step * nx / length, my + step * ny / length);
                if (!probe) continue;
                const double probeSide = Cross2(along, Sub2(*probe, *w1));
                const bool sameSide = (probeSide > 0) == (footSide > 0);
                // A probe taken on the left of the line says the opposite.
                if (sameSide != (step > 0)) {
                    nx = -nx;
                    ny = -ny;
                }
                break;
            }
        }
    }
    if (dx != 0 || dy != 0) line.angleIn = static_cast<float>(std::atan2(ny, nx));
    return line;
}

}  // namespace hostsim
