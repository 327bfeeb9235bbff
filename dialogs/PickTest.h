#pragma once
// Modes 2 and 3 of the picture control, for the Calibration Test: in Point
// mode a click (or an arrow key) picks a pixel on either picture; in Region
// mode a region dragged on the left picture is the region to match, and the
// right picture outlines where the host matched it.
#include <windows.h>

#include "dialogs/PictureInput.h"
#include "framework/Handles.h"

class PickTest {
  public:
    enum Method : int { kPoint = 0, kRegion = 1 };
    // Regions narrower or lower than this are not taken.
    static constexpr int kSmallestRegion = 10;

    // Mode 2 (left: takes regions) or 3 (right: region input is ignored).
    void SetMode(int mode) { m_mode = mode; }
    void SetMethod(int method) { m_method = method; }
    int Method() const { return m_method; }
    POINT Point() const { return m_point; }
    void SetPoint(POINT point) { m_point = point; }
    // All 0: no region.
    const RECT& Region() const { return m_region; }
    void SetRegion(const RECT& region) { m_region = region; }

    // Mouse and keys; each says whether the picture must be redrawn.
    void ButtonDown(POINT point, PictureInput& input);
    bool MouseMove(POINT point, PictureInput& input);
    void ButtonUp(PictureInput& input);
    bool Key(WPARAM key, PictureInput& input);
    void StopDragging() { m_dragging = false; }

    void CreateDrawingObjects();
    void ReleaseDrawingObjects();
    // Point mode: a green cross; Region mode: the region (dotted while dragged).
    void Draw(HDC dc) const;

  private:
    void EndRegionDrag(PictureInput& input);

    int m_mode = 2;
    int m_method = kPoint;
    POINT m_point{0, 0};
    RECT m_region{0, 0, 0, 0};
    bool m_dragging = false;
    POINT m_dragStart{0, 0};
    POINT m_dragEnd{0, 0};
    PenHandle m_greenPen;
    PenHandle m_dottedGreenPen;
};
