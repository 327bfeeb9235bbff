#pragma once
// Brings the template corners clicked on the live picture to sub-pixel
// accuracy before the camera angle is computed: a user clicks whole pixels,
// and half a pixel on a small or distant template is worth most of a degree
// of tilt.
//
// The template's sides are straight edges between its dark square and its
// white frame. Along each side between two clicked corners the strongest
// edge is sought across the side at many points (to a fraction of a pixel);
// a straight line is fitted through them, and each corner becomes the
// meeting point of its two sides. A side without a clear edge, or a corner
// that would move more than a few pixels from its click, keeps the clicks.
#include "tools/hostsim/CameraGeometry.h"

namespace hostsim {

// `picture`: 320 x 240, BGR, rows bottom-up; corners in slot order
// (lower-left, lower-right, upper-left, upper-right). With a corner missing
// (negative) or outside the picture all four are returned unchanged.
TemplateCorners RefineCorners(const unsigned char* picture, const TemplateCorners& clicked);

}  // namespace hostsim
