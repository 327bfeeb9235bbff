#pragma once
// Geometry of the counting-line overlay drawn over the live picture and in
// the Counter Settings preview: a 6-pixel band around the line and the two
// arrow pictures, placed on either side of the line's midpoint and rotated
// to the in angle. Pure arithmetic, single precision like the drawing code.
#include <array>
#include <cstdint>

#include "hostlink/HostPacking.h"

namespace hostlink {

struct PointF {
    float x = 0.0f;
    float y = 0.0f;
};

// A 2-D affine transform in the element order of Gdiplus::Matrix, for row
// vectors:  x' = m11*x + m21*y + dx,  y' = m12*x + m22*y + dy.
// The view builds its matrix as Gdiplus::Matrix(m11, m12, m21, m22, dx, dy).
struct Affine2x3 {
    float m11 = 1.0f;
    float m12 = 0.0f;
    float m21 = 0.0f;
    float m22 = 1.0f;
    float dx = 0.0f;
    float dy = 0.0f;

    PointF Apply(PointF p) const {
        return {m11 * p.x + m21 * p.y + dx, m12 * p.x + m22 * p.y + dy};
    }
};

// left then right (row vectors: p * left * right), as GDI+ multiplies.
Affine2x3 Multiply(const Affine2x3& left, const Affine2x3& right);

// From the identity: translate(centre), rotate(degrees), translate(-centre),
// each prepended (MatrixOrderPrepend), so a point is moved by -centre first,
// then rotated clockwise on screen (y down) by `degrees`, then moved back.
Affine2x3 RotationAbout(PointF centre, float degrees);

// Band corners C0..C3 of the line P1-P2 (half-width 3 pixels, short sides
// through P1 and P2): C0, C1 on one side at P1, P2; C2, C3 on the other side.
// The outline is drawn C0, C1, C3, C2, back to C0.
using BandCorners = std::array<HostPoint, 4>;

struct CountingLineOverlay {
    // False for P1 = P2, which includes the start state (0,0)-(0,0) before the
    // host sent a line: nothing of the overlay is drawn then.
    bool hasLine = false;
    // False when the in angle is not a finite number: the band is still drawn
    // but no arrows (their direction would be meaningless).
    bool hasArrows = false;
    HostPoint p1;
    HostPoint p2;
    BandCorners band{};  // C0..C3, each coordinate trunc(value + 0.5)
    PointF mid;          // M, the line's midpoint
    HostPoint inArrow;   // A: top-left corner of the in-arrow picture
    HostPoint outArrow;  // B: top-left corner of the out-arrow picture
    Affine2x3 t1;        // in arrow, "Counting IO Direction" 0: about M + R(cos, sin), θ°
    Affine2x3 t2;        // in arrow, direction reversed: same centre, θ° + 180
    Affine2x3 t3;        // out arrow, direction 0: about M - R(cos, sin), θ° + 180
    Affine2x3 t4;        // out arrow, direction reversed: same centre as t3, θ°
};

// The whole overlay for P1, P2, the in angle θ (radians, "AngleIN") and the
// size of the in-arrow picture (both arrows are drawn at that size). Never
// divides by zero; non-finite intermediate values clear the flags instead of
// producing undefined integer conversions.
CountingLineOverlay ComputeCountingLineOverlay(HostPoint p1, HostPoint p2, float angleIn,
                                               int32_t arrowWidth, int32_t arrowHeight);

}  // namespace hostlink
