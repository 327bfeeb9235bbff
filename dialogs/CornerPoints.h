#pragma once
// Mode 0 of the picture control, for Camera Angle: up to four clicked points
// (the corners of the square template), numbered in click order; the arrow
// keys move the last one.
#include <windows.h>

#include <cstddef>
#include <vector>

#include "framework/Handles.h"

class CornerPoints {
  public:
    static constexpr std::size_t kMaxPoints = 4;

    void Click(POINT point);
    // True when there was a point to move.
    bool MoveLastByKey(WPARAM key, const RECT& area);
    void Clear() { m_points.clear(); }
    const std::vector<POINT>& Points() const { return m_points; }

    // The pens and the label font live while the dialog's window does.
    void CreateDrawingObjects();
    void ReleaseDrawingObjects();
    // Each point as a green cross with its number in red beside it.
    void Draw(HDC dc) const;

  private:
    std::vector<POINT> m_points;
    PenHandle m_greenPen;
    FontHandle m_labelFont;
};
