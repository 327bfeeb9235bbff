#pragma once
// The picture control of the settings dialogs. It shows a 320 x 240 camera
// picture that lives in a buffer of the main view, draws the overlay of its
// mode on it and turns mouse and key input into picks. Each instance works in
// one mode, fixed when its dialog initialises it:
//   0 points      - up to four clicked points, arrow keys move the last one
//   1 line/masks  - counting line, ellipse, rectangle and polygon masks
//   2 test left   - point test, or a dragged test region
//   3 test right  - point test; region input is ignored
//   4 mark point  - one clicked point
// The owning dialog reads and writes the public state directly; the control
// never talks to the host and only posts its messages.
#include <windows.h>

#include <array>
#include <memory>
#include <vector>

#include "controls/CountingLinePainter.h"
#include "framework/Controls.h"
#include "framework/GdiPlus.h"
#include "framework/Handles.h"
#include "hostlink/OverlayGeometry.h"

class CImageEditor : public CStatic {
  public:
    enum Mode : int {
        kModePoints = 0,
        kModeCountingLine = 1,
        kModeTestLeft = 2,
        kModeTestRight = 3,
        kModeMarkPoint = 4,
    };
    enum Tool : int {
        kToolNone = 0,
        kToolLine = 1,
        kToolEllipse = 2,
        kToolRectangle = 3,
        kToolPolygon = 4,
    };
    enum TestMethod : int { kTestPoint = 0, kTestRegion = 1 };

    // The picture every mode shows: 320 x 240 pixels.
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 240;
    // Mode 0 keeps at most this many points.
    static constexpr size_t kMaxPoints = 4;
    // A dragged line shorter than this (pixels, truncated) is not sent.
    static constexpr int kShortestLine = 60;
    // Ellipses and rectangles of at most this width and height are ignored.
    static constexpr int kLargestIgnoredShape = 5;
    // Test regions narrower or lower than this are not taken.
    static constexpr int kSmallestTestRegion = 10;
    // Polygons stop taking vertices here, so a runaway click loop cannot
    // grow the list without bound.
    static constexpr size_t kMaxPolygonVertices = 4096;

    CImageEditor();
    ~CImageEditor() override;

    // Creates the objects of the mode, stores the five values and (re)creates
    // the off-screen bitmap. Called by every initialisation of the owner.
    void Initialize(int mode, HWND notifyWnd, const BITMAPINFO* header, const void* bits, int tag);
    // Takes both pictures when both are non-null; otherwise keeps the old pair.
    void SetArrowImages(BitmapPtr in, BitmapPtr out);
    // The counting line (x1 = -1: none) with the host's in angle (radians).
    void SetCountingLine(int x1, int y1, int x2, int y2, float inAngle);
    // wholePicture 1: the mask becomes the whole picture. 0: the current
    // tool's shape is added to the mask (or cut out of it after ALL).
    void BuildMask(int wholePicture);
    // Renders picture and overlay into the window; nothing without picture bits.
    void Redraw();
    // The tool cursor (resource 192) over this control while a tool is active.
    void ApplyToolCursor();
    void RestoreCursor();
    bool ToolCursorInForce() const { return m_toolCursorInForce; }
    // Frees the pens and font of the mode (the owner calls it when its window goes).
    void ReleaseModeObjects();

    // Discards the open polygon (the vertices) and releases the mouse.
    void DiscardPolygon();
    // The working mask; null when there is none.
    HRGN Mask() const { return m_mask.get(); }
    // Replaces the working mask by a copy of `region` (null: no mask).
    void SetMask(HRGN region);
    void DeleteMask() { m_mask.reset(); }

    BOOL PreTranslateMessage(MSG* msg) override;

    int GetMode() const { return m_mode; }
    int GetTag() const { return m_tag; }
    bool HasPicture() const { return m_bits != nullptr; }
    const hostlink::CountingLineOverlay& LineOverlay() const { return m_line; }
    const hostlink::CountingLineOverlay& PreviewOverlay() const { return m_preview; }
    const std::vector<POINT>& PolygonVertices() const { return m_polygon; }
    const RECT& ClosingSquare() const { return m_closingSquare; }
    bool Dragging() const { return m_dragging; }
    // The off-screen picture (tests read its pixels).
    HDC OffscreenDc() const { return m_memoryDc.get(); }

    // ---- state the owners set and read directly
    int m_tool = kToolNone;                 // mode 1
    int m_wholePicture = 0;                 // mode 1: set by ALL, cleared by CLEAR
    COLORREF m_maskColor = RGB(255, 0, 0);  // mode 1
    int m_ioDirection = 0;                  // mode 1: in/out assignment 0 or 1
    int m_countingMode = 0;                 // mode 1: 0 in & out, 1 in only, 2 out only
    RECT m_counterRect{0, 0, 0, 0};         // mode 1: outlined in white
    POINT m_dragStart{0, 0};                // mode 1: line, ellipse, rectangle
    POINT m_dragEnd{0, 0};
    std::vector<POINT> m_points;    // mode 0
    int m_testMethod = kTestPoint;  // modes 2 and 3
    POINT m_testPoint{0, 0};        // modes 2 and 3
    RECT m_testRegion{0, 0, 0, 0};  // modes 2 and 3: all 0 = none
    POINT m_clickPoint{0, 0};       // mode 4
    bool m_markShown = false;       // mode 4: no cross before the first click

  protected:
    void OnPaint();
    void OnLButtonDown(UINT flags, POINT point);
    void OnMouseMove(UINT flags, POINT point);
    void OnLButtonUp(UINT flags, POINT point);
    LRESULT OnSetCursor(WPARAM wp, LPARAM lp);
    LRESULT OnNcHitTest(WPARAM wp, LPARAM lp);
    LRESULT OnGetDlgCode(WPARAM wp, LPARAM lp);

    DECLARE_MESSAGE_MAP()

  private:
    void DrawOverlay(HDC dc);
    // Copies the composed picture (what fits the control) to dc.
    void ShowComposed(HDC dc) const;
    void DrawPointsOverlay(HDC dc);
    void DrawCountingLineOverlay(HDC dc);
    void DrawTestOverlay(HDC dc);
    void DrawMarkOverlay(HDC dc);
    void CountingLineButtonDown(POINT point);
    void CountingLineMouseMove(POINT point);
    void CountingLineButtonUp(POINT point);
    void EndDrag(POINT end);
    void TestButtonDown(POINT point);
    void EndRegionDrag();
    void MoveByKey(POINT& point, WPARAM key) const;
    bool InsideClient(POINT point) const;
    RECT PictureRect() const;
    void ReleaseMouse();
    void CreateOffscreen();
    void UpdateLineOverlay();
    void SelectShapePens(COLORREF color);
    void Notify(UINT message, WPARAM wp, LPARAM lp) const;

    // Picture source.
    const BITMAPINFO* m_header = nullptr;
    const void* m_bits = nullptr;
    HWND m_notifyWnd = nullptr;
    int m_mode = kModeCountingLine;
    int m_tag = 0;

    // Off-screen picture.
    MemoryDc m_memoryDc;
    BitmapHandle m_memoryBitmap;
    HGDIOBJ m_memoryDcOldBitmap = nullptr;
    std::unique_ptr<Gdiplus::Graphics> m_memoryGraphics;  // draws the arrows on m_memoryDc
    int m_memoryWidth = 0;
    int m_memoryHeight = 0;
    // The part of the off-screen bitmap the last refresh composed (0 before any).
    int m_shownWidth = 0;
    int m_shownHeight = 0;

    // Made at construction: the paint frame.
    BrushHandle m_frameBrush;
    PenHandle m_framePen;
    // Made by Initialize for the mode.
    PenHandle m_greenPen;
    PenHandle m_redPen;
    PenHandle m_dottedGreenPen;
    FontHandle m_labelFont;
    PenHandle m_counterRectPen;
    // Mode 1 shape outlines in the mask drawing colour, remade only when it changes.
    PenHandle m_shapePen;        // solid, 1 pixel
    PenHandle m_shapeDottedPen;  // dotted, 1 pixel
    PenHandle m_shapeWidePen;    // solid, 2 pixels (after ALL)
    COLORREF m_shapePenColor = CLR_INVALID;

    // Mode 1.
    RegionHandle m_mask;
    BitmapPtr m_arrowIn;
    BitmapPtr m_arrowOut;
    controls::CountingLinePainter m_painter;
    hostlink::CountingLineOverlay m_line;     // the committed line and its arrows
    hostlink::CountingLineOverlay m_preview;  // the line being dragged
    float m_inAngle = 0.0f;
    std::vector<POINT> m_polygon;  // the last vertex follows the mouse
    RECT m_closingSquare{0, 0, 0, 0};
    bool m_dragging = false;
    bool m_toolCursorInForce = false;
    HCURSOR m_toolCursor = nullptr;  // shared resource cursor: never destroyed

    // Mode 2 region drag.
    POINT m_regionDragStart{0, 0};
    POINT m_regionDragEnd{0, 0};
};
