#pragma once
// Mode 4 of the picture control, for Camera Angle Verification: one clicked
// point marked with a green cross (none before the first click); the dialog
// mirrors it onto the other picture.
#include <windows.h>

#include "framework/Handles.h"

class MarkPoint {
  public:
    void Mark(POINT point) {
        m_point = point;
        m_shown = true;
    }
    // The other picture's mark, as it stands.
    void Follow(const MarkPoint& other) {
        m_point = other.m_point;
        m_shown = other.m_shown;
    }
    POINT Point() const { return m_point; }
    bool Shown() const { return m_shown; }

    void CreateDrawingObjects();
    void ReleaseDrawingObjects() { m_greenPen.reset(); }
    void Draw(HDC dc) const;

  private:
    POINT m_point{0, 0};
    bool m_shown = false;
    PenHandle m_greenPen;
};
