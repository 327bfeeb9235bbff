#pragma once
// The region test of the calibration check: a region of the left rectified
// picture is searched for along the same rows of the right picture (a point
// at depth Z sits f*B/Z pixels further left there). The best whole-pixel
// shift by the sum of squared differences (each picture's region taken
// about its own mean) is refined to a fraction of a pixel by a parabola
// through the costs around it. The distance is f*B/d.
//
// No match (disparity 0) when the region is empty or thinner than 3 pixels,
// has too little texture to match (flat colour), the best shift lies on the
// edge of the search range, a clearly different shift matches about as well
// (repeating pattern), or even the best shift matches poorly.
#include <cstddef>

#include "tools/hostsim/CameraGeometry.h"

namespace hostsim {

struct RegionMatch {
    bool matched = false;
    float disparity = 0.0f;  // pixels; 0 without a match
    float distance = 0.0f;   // centimetres; 0 without a match
};

// `left` and `right` are 320 x 240 pictures, BGR, rows bottom-up. The region
// is in picture coordinates (y downwards): columns left..right-1, rows
// top..bottom-1; swapped sides are put in order, the part outside the
// picture is cut off.
RegionMatch MatchRegion(const unsigned char* left, const unsigned char* right,
                        const CameraModel& model, int regionLeft, int regionTop, int regionRight,
                        int regionBottom);

// Widest shift searched, pixels.
constexpr int kMaxDisparity = 64;

}  // namespace hostsim
