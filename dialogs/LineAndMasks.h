#pragma once
// Mode 1 of the picture control, for Counter Settings: the counting line with
// its band and arrows, and the mask - ellipses, rectangles and polygons drawn
// with the mouse, added to it, or cut out of the whole picture after ALL -
// and the counter rectangle the host reported.
#include <windows.h>

#include <cstddef>
#include <utility>
#include <vector>

#include "controls/CountingLinePainter.h"
#include "dialogs/PictureInput.h"
#include "framework/GdiPlus.h"
#include "framework/Handles.h"
#include "hostlink/OverlayGeometry.h"

class LineAndMasks {
  public:
    enum Tool : int {
        kToolNone = 0,
        kToolLine = 1,
        kToolEllipse = 2,
        kToolRectangle = 3,
        kToolPolygon = 4,
    };
    // A dragged line shorter than this (pixels) is not sent to the host.
    static constexpr int kShortestLine = 60;
    // Ellipses and rectangles of at most this width and height are ignored.
    static constexpr int kLargestIgnoredShape = 5;
    // Polygons stop taking vertices here, so a runaway click loop cannot
    // grow the list without bound.
    static constexpr std::size_t kMaxPolygonVertices = 4096;

    LineAndMasks();

    void SetTool(int tool) { m_tool = tool; }
    int Tool() const { return m_tool; }
    // ALL: the mask became the whole picture, and shapes cut holes in it.
    void SetWholePicture(bool whole) { m_wholePicture = whole; }
    bool WholePicture() const { return m_wholePicture; }
    void SetMaskColor(COLORREF color) { m_maskColor = color; }
    COLORREF MaskColor() const { return m_maskColor; }
    // Which side is "In" (0 or 1) and the counting mode (0 in & out, 1 in
    // only, 2 out only): which arrows show and which way they point.
    void SetDirection(int ioDirection, int countingMode);
    void SetCounterRect(const RECT& rect) { m_counterRect = rect; }

    // Takes both pictures when both are given; otherwise keeps the old pair.
    void SetArrowImages(BitmapPtr in, BitmapPtr out);
    // The counting line (x1 = -1: none) with the host's in angle (radians).
    void SetCountingLine(int x1, int y1, int x2, int y2, float inAngle);
    const hostlink::CountingLineOverlay& Line() const { return m_line; }
    const hostlink::CountingLineOverlay& Preview() const { return m_preview; }
    // The line last dragged, end to end: what the host is asked about.
    std::pair<POINT, POINT> DrawnLine() const { return {m_dragStart, m_dragEnd}; }

    // wholePicture: the mask becomes `area`. Else the tool's last shape is
    // added to the mask, or cut out of it after ALL.
    void BuildMask(bool wholePicture, const RECT& area);
    HRGN Mask() const { return m_mask.get(); }
    // A copy of `region` (null: no mask).
    void SetMask(HRGN region);
    void DeleteMask() { m_mask.reset(); }

    // The open polygon is given up and the mouse released.
    void DiscardPolygon(PictureInput& input);
    const std::vector<POINT>& PolygonVertices() const { return m_polygon; }
    const RECT& ClosingSquare() const { return m_closingSquare; }
    bool Dragging() const { return m_dragging; }

    // The mouse; each says whether the picture must be redrawn.
    bool ButtonDown(POINT point, PictureInput& input);
    bool MouseMove(POINT point, PictureInput& input);
    void ButtonUp(POINT point, PictureInput& input);

    void CreateDrawingObjects();
    void ReleaseDrawingObjects();
    void Draw(HDC dc, Gdiplus::Graphics& graphics);

  private:
    void EndDrag(POINT end, PictureInput& input);
    void PlaceLine();
    void SelectShapePens(COLORREF color);

    int m_tool = kToolNone;
    bool m_wholePicture = false;
    COLORREF m_maskColor = RGB(255, 0, 0);
    int m_ioDirection = 0;
    int m_countingMode = 0;
    RECT m_counterRect{0, 0, 0, 0};

    RegionHandle m_mask;
    BitmapPtr m_arrowIn;
    BitmapPtr m_arrowOut;
    controls::CountingLinePainter m_painter;
    hostlink::CountingLineOverlay m_line;     // the committed line and its arrows
    hostlink::CountingLineOverlay m_preview;  // the line being dragged
    float m_inAngle = 0.0f;
    POINT m_dragStart{0, 0};
    POINT m_dragEnd{0, 0};
    bool m_dragging = false;
    std::vector<POINT> m_polygon;  // the last vertex follows the mouse
    RECT m_closingSquare{0, 0, 0, 0};

    PenHandle m_greenPen;
    PenHandle m_dottedGreenPen;
    PenHandle m_counterRectPen;
    // Shape outlines in the mask's drawing colour, remade only when it changes.
    PenHandle m_shapePen;        // solid, 1 pixel
    PenHandle m_shapeDottedPen;  // dotted, 1 pixel
    PenHandle m_shapeWidePen;    // solid, 2 pixels (after ALL)
    COLORREF m_shapePenColor = CLR_INVALID;
};
