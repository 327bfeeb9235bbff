#pragma once
// Renders the simulated rectified stereo pair: a textured floor, the square
// template lying on it, and people walking. Each picture is 320 x 240, three
// bytes a pixel in blue, green, red order, rows bottom-up without padding:
// exactly what the host puts into its shared blocks. The left picture is the
// live picture; the right camera sits `baseline` to the right of the left
// one, so a floor or body point at depth Z appears f*B/Z pixels further left.
//
// The floor and the template do not move, so each view's background and
// depth are computed once (2 x 2 samples a pixel); a frame copies them and
// draws only the people, inside their projected bounding boxes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/hostsim/CameraGeometry.h"

namespace hostsim {

constexpr int kPictureWidth = 320;
constexpr int kPictureHeight = 240;
constexpr std::size_t kPictureBytes = 320 * 240 * 3;

struct Walker {
    Vec2 from;             // floor points (cm) between which the person walks
    Vec2 to;               // back and forth
    double speed = 100;    // cm/s
    double phase = 0;      // seconds already walked at time 0
    double height = 175;   // cm, top of the head
    double shoulder = 22;  // half width, cm
    std::uint8_t bgr[3] = {60, 60, 160};
};

struct Scene {
    CameraModel model;
    CameraPose pose;
    Vec2 templateCentre{-20, 150};  // floor, cm
    double templateSize = 100;      // side of the dark square, cm
    double templateBorder = 25;     // width of the white frame around it, cm
    std::vector<Walker> people;
};

// The demo scene: camera 240 cm up, tilted 60 degrees down, slightly rolled
// and panned; the template ahead and a little to the left; three people.
Scene DefaultScene(const CameraModel& model);

class StereoRenderer {
  public:
    explicit StereoRenderer(const Scene& scene);

    // Draws the pair at `seconds` into two buffers of kPictureBytes each.
    void Render(double seconds, unsigned char* left, unsigned char* right);

    const Scene& scene() const { return m_scene; }
    const CameraFrame& leftCamera() const { return m_left.camera; }
    const CameraFrame& rightCamera() const { return m_right.camera; }

    // Corners of the dark square on the floor and in the left picture, in the
    // program's slot order (lower-left, lower-right, upper-left, upper-right).
    std::array<Vec2, 4> TemplateOnFloor() const;
    TemplateCorners TemplateInPicture() const;
    // Disparity of the floor seen at a left-picture point; 0 when no floor.
    double FloorDisparityAt(double x, double y) const;
    // Where a person stands at a time (floor cm).
    Vec2 WalkerPosition(std::size_t index, double seconds) const;
    // Bounding box of a person in the left picture (left, top, right, bottom,
    // clipped; empty when not in view).
    std::array<int, 4> WalkerBox(std::size_t index, double seconds) const;

  private:
    struct View {
        CameraFrame camera;
        std::vector<unsigned char> background;  // kPictureBytes, bottom-up BGR
        std::vector<float> depth;               // per pixel, top-down rows
        std::vector<float> rays;                // x, y, z per pixel, top-down rows
        std::vector<float> zbuffer;             // per frame
    };
    struct AreaColour {
        double b = 0, g = 0, r = 0;
        int region = 0;  // what the samples saw; -1 when they saw different things
    };
    AreaColour SampleArea(const CameraFrame& camera, int x, int y, int samples) const;
    void PrepareView(View& view);
    void DrawWalker(View& view, const Walker& walker, Vec2 at, unsigned char* picture) const;
    std::array<int, 4> BoxIn(const CameraFrame& camera, const Walker& walker, Vec2 at) const;

    Scene m_scene;
    View m_left;
    View m_right;
};

}  // namespace hostsim
