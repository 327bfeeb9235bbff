#pragma once
// Draws the counting-line overlay (the 6-pixel band and the in and out arrow
// pictures, opaque yellow keyed out) and a hatched, framed mask. The main
// view's live picture and the Counter Settings picture draw them the same
// way. Every GDI and GDI+ object lives as long as the painter: nothing is
// created per frame (the mask brushes are remade only when the colour changes).
#include <windows.h>

#include <array>
#include <memory>

#include "framework/GdiPlus.h"
#include "framework/Handles.h"
#include "hostlink/OverlayGeometry.h"

namespace controls {

class CountingLinePainter {
  public:
    CountingLinePainter();
    ~CountingLinePainter();
    CountingLinePainter(const CountingLinePainter&) = delete;
    CountingLinePainter& operator=(const CountingLinePainter&) = delete;

    // Takes the overlay's geometry (band, arrow places and transforms T1..T4).
    void SetOverlay(const hostlink::CountingLineOverlay& overlay);
    const hostlink::CountingLineOverlay& Overlay() const { return m_overlay; }

    // The band outline C0, C1, C3, C2, C0 with `pen`, then the arrows through
    // `graphics` (which draws on dc): the in arrow unless countingMode is 2
    // ("Out Only"), the out arrow unless it is 1 ("In Only"); ioDirection 1
    // turns both by 180 degrees. Nothing without a line; no arrows without
    // both pictures or with a non-finite in angle.
    void DrawLine(HDC dc, Gdiplus::Graphics& graphics, HPEN pen, Gdiplus::Bitmap* arrowIn,
                  Gdiplus::Bitmap* arrowOut, int ioDirection, int countingMode);

    // The mask filled with a diagonal cross-hatch in `color` and framed one
    // pixel wide in the same colour, on a transparent background.
    void DrawMask(HDC dc, HRGN mask, COLORREF color);

  private:
    // The arrows keyed and turned once, kept as a premultiplied layer that
    // every frame only blends: GDI+ turning them per frame costs more than
    // the whole picture. Remade when the overlay, the pictures, the counting
    // mode or the direction change.
    struct ArrowLayer {
        const Gdiplus::Bitmap* arrowIn = nullptr;
        const Gdiplus::Bitmap* arrowOut = nullptr;
        int ioDirection = -1;
        int countingMode = -1;
        bool valid = false;  // false: draw the arrows directly
        bool built = false;
        RECT place{0, 0, 0, 0};
        MemoryDc dc;
        BitmapHandle bitmap;
        HGDIOBJ oldBitmap = nullptr;
    };
    void DrawArrows(Gdiplus::Graphics& graphics, Gdiplus::Bitmap* arrowIn,
                    Gdiplus::Bitmap* arrowOut, int ioDirection, int countingMode,
                    const POINT& shift) const;
    void BuildArrowLayer(Gdiplus::Bitmap* arrowIn, Gdiplus::Bitmap* arrowOut, int ioDirection,
                         int countingMode);
    void FreeArrowLayer();

    hostlink::CountingLineOverlay m_overlay;
    ArrowLayer m_layer;
    std::array<MatrixPtr, 4> m_transforms;  // T1..T4
    std::unique_ptr<Gdiplus::ImageAttributes> m_yellowKey;
    BrushHandle m_hatchBrush;
    BrushHandle m_frameBrush;
    COLORREF m_brushColor = CLR_INVALID;
};

// The band outline C0, C1, C3, C2, C0 (used for the committed and the preview band).
void DrawBand(HDC dc, const hostlink::BandCorners& band, HPEN pen);

}  // namespace controls
