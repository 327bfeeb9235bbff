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
// The picture itself is the canvas's; each mode keeps its own state in its
// own part, which the owning dialog reaches through the accessor of that
// mode. The control never talks to the host and only posts its messages.
#include <windows.h>

#include "dialogs/CornerPoints.h"
#include "dialogs/LineAndMasks.h"
#include "dialogs/MarkPoint.h"
#include "dialogs/PickTest.h"
#include "dialogs/PictureCanvas.h"
#include "dialogs/PictureInput.h"
#include "framework/Controls.h"

class CImageEditor : public CStatic {
  public:
    enum Mode : int {
        kModePoints = 0,
        kModeCountingLine = 1,
        kModeTestLeft = 2,
        kModeTestRight = 3,
        kModeMarkPoint = 4,
    };
    // The picture every mode shows: 320 x 240 pixels.
    static constexpr int kWidth = PictureCanvas::kWidth;
    static constexpr int kHeight = PictureCanvas::kHeight;

    CImageEditor() = default;
    ~CImageEditor() override;

    // Makes the drawing objects of the mode, takes the picture source, the
    // window to notify and a tag (echoed by mode 4), and makes the
    // off-screen picture afresh. Called by every initialisation of the owner.
    void Initialize(int mode, HWND notifyWnd, const BITMAPINFO* header, const void* bits, int tag);
    // Renders picture and overlay into the window; nothing without picture bits.
    void Redraw();
    // The tool cursor (resource 192) over this control while a tool is active.
    void ApplyToolCursor();
    void RestoreCursor();
    bool ToolCursorInForce() const { return m_toolCursorInForce; }
    // Frees the drawing objects of every mode (the owner calls it when its window goes).
    void ReleaseModeObjects();
    // Mode 1: ALL - the mask becomes the whole picture.
    void MaskWholePicture() { m_drawing.BuildMask(true, m_input.Area()); }
    // Mode 1: the open polygon is given up.
    void DiscardPolygon() { m_drawing.DiscardPolygon(m_input); }

    BOOL PreTranslateMessage(MSG* msg) override;

    int GetMode() const { return m_mode; }
    int GetTag() const { return m_tag; }
    bool HasPicture() const { return m_canvas.HasPicture(); }
    // The off-screen picture (tests read its pixels).
    HDC OffscreenDc() const { return m_canvas.Dc(); }

    // The state of each mode.
    CornerPoints& Corners() { return m_corners; }
    const CornerPoints& Corners() const { return m_corners; }
    LineAndMasks& Drawing() { return m_drawing; }
    const LineAndMasks& Drawing() const { return m_drawing; }
    PickTest& Test() { return m_test; }
    const PickTest& Test() const { return m_test; }
    MarkPoint& Mark() { return m_mark; }
    const MarkPoint& Mark() const { return m_mark; }

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
    void DrawOverlay(HDC dc, Gdiplus::Graphics& graphics);

    PictureCanvas m_canvas;
    ControlInput m_input;  // what the modes ask of the control
    int m_mode = kModeCountingLine;
    int m_tag = 0;

    CornerPoints m_corners;
    LineAndMasks m_drawing;
    PickTest m_test;
    MarkPoint m_mark;

    bool m_toolCursorInForce = false;
    HCURSOR m_toolCursor = nullptr;  // shared resource cursor: never destroyed
};
