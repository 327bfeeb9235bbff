#pragma once
// What the stand-in host reads back from the camera's settings file
// (Setting%02d.ini, written by the settings program).
#include <array>
#include <string>

#include "tools/hostsim/CameraGeometry.h"

namespace hostsim {

struct HostSettings {
    std::string calibrationPath;       // "Calibration Data" / "Path"
    int cameraAngleSetted = 0;         // "Camera Angle" / "Setted"
    float templateDimension = 100.0f;  // cm
    CameraAngles angles{0.0f, -0.785398f, 0.0f};
    float height = 240.0f;                         // cm
    int counterSetted = 0;                         // "Counter Settings" / "Setted"
    std::array<int, 4> imageLine{-1, -1, -1, -1};  // x1, y1, x2, y2
    int displayTrackingFrame = 0;                  // 0 = On
    int cutX1 = 10;                                // "Common"
    int cutX2 = 310;

    // An image counting line with all four coordinates set.
    bool HasLine() const {
        return imageLine[0] != -1 && imageLine[1] != -1 && imageLine[2] != -1 && imageLine[3] != -1;
    }
};

}  // namespace hostsim
