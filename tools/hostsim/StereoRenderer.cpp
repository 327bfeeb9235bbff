#include "tools/hostsim/StereoRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace hostsim {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
constexpr float kFarDepth = 1e9f;
constexpr double kFloorReach = 3000;  // cm; beyond this the floor fades into the far wall

// Repeatable pseudo-random value in [0, 1) for a lattice point.
double Lattice(std::int32_t i, std::int32_t j, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(i) * 0x8DA6B343u ^
                      static_cast<std::uint32_t>(j) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return (h & 0xFFFFFF) / 16777216.0;
}

// Smooth value noise with lattice spacing `cell` cm.
double Noise(double x, double y, double cell, std::uint32_t seed) {
    const double fx = x / cell, fy = y / cell;
    const double ix = std::floor(fx), iy = std::floor(fy);
    double tx = fx - ix, ty = fy - iy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    const auto i = static_cast<std::int32_t>(ix), j = static_cast<std::int32_t>(iy);
    const double a = Lattice(i, j, seed), b = Lattice(i + 1, j, seed);
    const double c = Lattice(i, j + 1, seed), d = Lattice(i + 1, j + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

struct Colour {
    double b = 0, g = 0, r = 0;
};

constexpr int kRegionFloor = 0;
constexpr int kRegionFrame = 1;
constexpr int kRegionSquare = 2;
constexpr int kRegionWall = 3;

Colour FloorColour(const Scene& scene, double x, double y, int& region) {
    // The template: a dark square in a white frame.
    const double ax = std::fabs(x - scene.templateCentre.x);
    const double ay = std::fabs(y - scene.templateCentre.y);
    const double half = scene.templateSize / 2;
    if (ax < half && ay < half) {
        region = kRegionSquare;
        return {38, 38, 38};
    }
    if (ax < half + scene.templateBorder && ay < half + scene.templateBorder) {
        region = kRegionFrame;
        return {235, 238, 240};
    }
    region = kRegionFloor;
    // Speckled stone tiles, 60 cm, with darker joints.
    const double speckle =
        0.45 * Noise(x, y, 3.0, 1) + 0.35 * Noise(x, y, 9.0, 2) + 0.20 * Noise(x, y, 31.0, 3);
    const double tile = 0.85 + 0.3 * Lattice(static_cast<std::int32_t>(std::floor(x / 60)),
                                             static_cast<std::int32_t>(std::floor(y / 60)), 4);
    const double jx = std::fabs(x / 60 - std::round(x / 60)) * 60;
    const double jy = std::fabs(y / 60 - std::round(y / 60)) * 60;
    const double joint = std::min(1.0, std::min(jx, jy) / 1.2);  // 0 on the joint
    const double light = (0.55 + 0.6 * speckle) * tile * (0.55 + 0.45 * joint);
    return {120 * light, 150 * light, 175 * light};
}

const Colour kWall{170, 176, 182};

std::uint8_t ToByte(double v) {
    return static_cast<std::uint8_t>(std::clamp(v + 0.5, 0.0, 255.0));
}

std::size_t TopDownIndex(int x, int y) {
    return static_cast<std::size_t>(y) * kPictureWidth + static_cast<std::size_t>(x);
}

std::size_t BottomUpOffset(int x, int y) {
    return (static_cast<std::size_t>(kPictureHeight - 1 - y) * kPictureWidth +
            static_cast<std::size_t>(x)) *
           3;
}

double Fold(double walked, double length) {  // back and forth along [0, length]
    if (length <= 0) return 0;
    const double period = 2 * length;
    double p = std::fmod(walked, period);
    if (p < 0) p += period;
    return p <= length ? p : period - p;
}

struct Blob {
    Vec3 centre;
    Vec3 radius;
};

std::array<Blob, 2> BlobsOf(const Walker& walker, Vec2 at) {
    const double head = std::max(8.0, walker.height * 0.07);
    const double bodyTop = walker.height - 2 * head;
    const Blob body{{at.x, at.y, bodyTop / 2},
                    {walker.shoulder, walker.shoulder * 0.65, bodyTop / 2}};
    const Blob top{{at.x, at.y, walker.height - head}, {head, head, head}};
    return {body, top};
}

// Ray parameter (depth along the optical axis, as rays have forward part 1)
// of the nearest hit of a ray with an axis-aligned ellipsoid.
bool HitBlob(const Blob& blob, Vec3 origin, Vec3 ray, double& t, Vec3& normal) {
    const Vec3 o{(origin.x - blob.centre.x) / blob.radius.x,
                 (origin.y - blob.centre.y) / blob.radius.y,
                 (origin.z - blob.centre.z) / blob.radius.z};
    const Vec3 d{ray.x / blob.radius.x, ray.y / blob.radius.y, ray.z / blob.radius.z};
    const double a = Dot(d, d), b = 2 * Dot(o, d), c = Dot(o, o) - 1;
    const double disc = b * b - 4 * a * c;
    if (disc < 0) return false;
    const double hit = (-b - std::sqrt(disc)) / (2 * a);
    if (hit <= 0) return false;
    t = hit;
    const Vec3 p = origin + hit * ray - blob.centre;
    normal =
        Normalized({p.x / (blob.radius.x * blob.radius.x), p.y / (blob.radius.y * blob.radius.y),
                    p.z / (blob.radius.z * blob.radius.z)});
    return true;
}

}  // namespace

Scene DefaultScene(const CameraModel& model) {
    Scene scene;
    scene.model = model;
    scene.pose = {60 * kDegree, 1.5 * kDegree, 3 * kDegree, 240};
    // Nobody walks between the camera and the template, so that its corners
    // can always be clicked.
    Walker a;
    a.from = {-200, 260};
    a.to = {220, 290};
    a.speed = 90;
    a.bgr[0] = 50, a.bgr[1] = 60, a.bgr[2] = 170;
    Walker b;
    b.from = {130, 30};
    b.to = {160, 320};
    b.speed = 110;
    b.phase = 1.3;
    b.height = 182;
    b.bgr[0] = 150, b.bgr[1] = 90, b.bgr[2] = 40;
    Walker c;
    c.from = {-250, 40};
    c.to = {-240, 300};
    c.speed = 70;
    c.phase = 2.1;
    c.height = 160;
    c.shoulder = 19;
    c.bgr[0] = 60, c.bgr[1] = 150, c.bgr[2] = 70;
    scene.people = {a, b, c};
    return scene;
}

StereoRenderer::StereoRenderer(const Scene& scene)
    : m_scene(scene),
      m_left{CameraFrame(scene.model, scene.pose), {}, {}, {}, {}},
      m_right{CameraFrame(scene.model, scene.pose).Shifted(scene.model.baseline), {}, {}, {}, {}} {
    PrepareView(m_left);
    PrepareView(m_right);
}

StereoRenderer::AreaColour StereoRenderer::SampleArea(const CameraFrame& camera, int x, int y,
                                                      int samples) const {
    AreaColour sum;
    const Vec3 centre = camera.centre();
    int firstRegion = -2;
    bool mixed = false;
    const double share = 1.0 / (samples * samples);
    for (int j = 0; j < samples; ++j) {
        for (int i = 0; i < samples; ++i) {
            const Vec3 r =
                camera.RayThrough(x - 0.5 + (i + 0.5) / samples, y - 0.5 + (j + 0.5) / samples);
            Colour c = kWall;
            int region = kRegionWall;
            if (r.z < 0) {
                const double t = -centre.z / r.z;
                const double reach = t * std::hypot(r.x, r.y);
                if (reach < kFloorReach) {
                    c = FloorColour(m_scene, centre.x + t * r.x, centre.y + t * r.y, region);
                    // Fade far floor towards the wall colour.
                    const double fade = std::clamp((reach - 1500) / 1500, 0.0, 1.0);
                    c = {c.b + (kWall.b - c.b) * fade, c.g + (kWall.g - c.g) * fade,
                         c.r + (kWall.r - c.r) * fade};
                }
            }
            if (firstRegion == -2) firstRegion = region;
            mixed |= region != firstRegion;
            sum.b += c.b * share;
            sum.g += c.g * share;
            sum.r += c.r * share;
        }
    }
    sum.region = mixed ? -1 : firstRegion;
    return sum;
}

void StereoRenderer::PrepareView(View& view) {
    const std::size_t pixels = std::size_t{kPictureWidth} * kPictureHeight;
    view.background.assign(kPictureBytes, 0);
    view.depth.assign(pixels, kFarDepth);
    view.rays.assign(pixels * 3, 0.0f);
    view.zbuffer.assign(pixels, kFarDepth);
    const Vec3 centre = view.camera.centre();
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            const Vec3 ray = view.camera.RayThrough(x, y);
            const std::size_t i = TopDownIndex(x, y);
            view.rays[3 * i] = static_cast<float>(ray.x);
            view.rays[3 * i + 1] = static_cast<float>(ray.y);
            view.rays[3 * i + 2] = static_cast<float>(ray.z);
            if (ray.z < 0) {
                const double t = -centre.z / ray.z;
                if (t * std::hypot(ray.x, ray.y) < kFloorReach)
                    view.depth[i] = static_cast<float>(t);
            }
            // 2 x 2 samples; 6 x 6 where they straddle an edge of the
            // template, so that its corners sit where they should to a
            // small fraction of a pixel.
            AreaColour sum = SampleArea(view.camera, x, y, 2);
            if (sum.region < 0) sum = SampleArea(view.camera, x, y, 6);
            unsigned char* p = &view.background[BottomUpOffset(x, y)];
            p[0] = ToByte(sum.b);
            p[1] = ToByte(sum.g);
            p[2] = ToByte(sum.r);
        }
    }
}

Vec2 StereoRenderer::WalkerPosition(std::size_t index, double seconds) const {
    const Walker& w = m_scene.people.at(index);
    const double length = std::hypot(w.to.x - w.from.x, w.to.y - w.from.y);
    if (length <= 0) return w.from;
    const double along = Fold((seconds + w.phase) * w.speed, length) / length;
    return {w.from.x + (w.to.x - w.from.x) * along, w.from.y + (w.to.y - w.from.y) * along};
}

std::array<int, 4> StereoRenderer::BoxIn(const CameraFrame& camera, const Walker& walker,
                                         Vec2 at) const {
    const double r = walker.shoulder + 1;
    int left = kPictureWidth, top = kPictureHeight, right = -1, bottom = -1;
    for (double dx : {-r, r}) {
        for (double dy : {-r, r}) {
            for (double z : {0.0, walker.height}) {
                const Vec3 corner{at.x + dx, at.y + dy, z};
                if (camera.ToCamera(corner).z <= 1.0) return {0, 0, kPictureWidth, kPictureHeight};
                const auto p = camera.Project(corner);
                left = std::min(left, static_cast<int>(std::floor(p->x)));
                right = std::max(right, static_cast<int>(std::ceil(p->x)) + 1);
                top = std::min(top, static_cast<int>(std::floor(p->y)));
                bottom = std::max(bottom, static_cast<int>(std::ceil(p->y)) + 1);
            }
        }
    }
    left = std::clamp(left, 0, kPictureWidth);
    right = std::clamp(right, 0, kPictureWidth);
    top = std::clamp(top, 0, kPictureHeight);
    bottom = std::clamp(bottom, 0, kPictureHeight);
    if (left >= right || top >= bottom) return {0, 0, 0, 0};
    return {left, top, right, bottom};
}

std::array<int, 4> StereoRenderer::WalkerBox(std::size_t index, double seconds) const {
    return BoxIn(m_left.camera, m_scene.people.at(index), WalkerPosition(index, seconds));
}

void StereoRenderer::DrawWalker(View& view, const Walker& walker, Vec2 at,
                                unsigned char* picture) const {
    const auto box = BoxIn(view.camera, walker, at);
    const auto blobs = BlobsOf(walker, at);
    const Vec3 origin = view.camera.centre();
    const Vec3 light = Normalized({0.3, -0.5, 1.0});
    for (int y = box[1]; y < box[3]; ++y) {
        for (int x = box[0]; x < box[2]; ++x) {
            const std::size_t i = TopDownIndex(x, y);
            const Vec3 ray{view.rays[3 * i], view.rays[3 * i + 1], view.rays[3 * i + 2]};
            double nearest = view.zbuffer[i];
            Vec3 normal;
            bool hit = false;
            for (const Blob& blob : blobs) {
                double t;
                Vec3 n;
                if (HitBlob(blob, origin, ray, t, n) && t < nearest) {
                    nearest = t;
                    normal = n;
                    hit = true;
                }
            }
            if (!hit) continue;
            view.zbuffer[i] = static_cast<float>(nearest);
            // Clothes have a weave, so that people can be matched in stereo too.
            const Vec3 point = origin + nearest * ray;
            const double weave =
                0.7 + 0.6 * Noise(point.x + 0.6 * point.z, point.y - 0.4 * point.z, 4.0, 7);
            const double shade = (0.35 + 0.65 * std::max(0.0, Dot(normal, light))) * weave;
            unsigned char* p = picture + BottomUpOffset(x, y);
            p[0] = ToByte(walker.bgr[0] * shade);
            p[1] = ToByte(walker.bgr[1] * shade);
            p[2] = ToByte(walker.bgr[2] * shade);
        }
    }
}

void StereoRenderer::Render(double seconds, unsigned char* left, unsigned char* right) {
    for (View* view : {&m_left, &m_right}) {
        unsigned char* picture = view == &m_left ? left : right;
        if (!picture) continue;
        std::memcpy(picture, view->background.data(), kPictureBytes);
        std::copy(view->depth.begin(), view->depth.end(), view->zbuffer.begin());
        for (std::size_t k = 0; k < m_scene.people.size(); ++k)
            DrawWalker(*view, m_scene.people[k], WalkerPosition(k, seconds), picture);
    }
}

std::array<Vec2, 4> StereoRenderer::TemplateOnFloor() const {
    const double h = m_scene.templateSize / 2;
    const Vec2 c = m_scene.templateCentre;
    return {Vec2{c.x - h, c.y - h}, Vec2{c.x + h, c.y - h}, Vec2{c.x - h, c.y + h},
            Vec2{c.x + h, c.y + h}};
}

TemplateCorners StereoRenderer::TemplateInPicture() const {
    TemplateCorners corners{};
    const auto floor = TemplateOnFloor();
    for (std::size_t i = 0; i < 4; ++i) {
        const auto p = m_left.camera.Project({floor[i].x, floor[i].y, 0});
        corners[i] = p ? *p : Vec2{-1, -1};
    }
    return corners;
}

double StereoRenderer::FloorDisparityAt(double x, double y) const {
    const auto floor = m_left.camera.FloorPoint(x, y);
    if (!floor) return 0;
    const auto inRight = m_right.camera.Project({floor->x, floor->y, 0});
    return inRight ? x - inRight->x : 0;
}

}  // namespace hostsim
