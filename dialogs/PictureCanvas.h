#pragma once
// What every picture control of the settings dialogs does with its picture:
// the view's 320 x 240 picture (its buffer, read-only) stretched into an
// off-screen bitmap, the mode's overlay drawn over it, and the result copied
// to the control's window - again whenever the window repaints.
#include <windows.h>

#include <functional>

#include "framework/GdiPlus.h"
#include "framework/Handles.h"
#include "framework/OffscreenSurface.h"

class PictureCanvas {
  public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 240;

    PictureCanvas();

    // The picture's header and pixels (null: nothing to draw).
    void SetSource(const BITMAPINFO* header, const void* bits);
    bool HasPicture() const { return m_bits != nullptr; }
    // Makes the off-screen picture afresh (the screen's DC before the
    // control's window exists). Always 320 x 240, the overlay coordinates:
    // a picture of another size is drawn 1:1 from the top-left corner.
    void Reset(HWND control);
    // Draws the picture, then the overlay on it; false without a picture.
    bool Compose(const std::function<void(HDC dc, Gdiplus::Graphics& graphics)>& overlay);
    // Copies what was composed (what fits the control) to `dc`.
    void Show(HWND control, HDC dc) const;
    // WM_PAINT: the control's frame, then the last composed picture.
    void Paint(HWND control) const;
    // The off-screen picture (tests read its pixels).
    HDC Dc() const { return m_surface.dc(); }

  private:
    const BITMAPINFO* m_header = nullptr;
    const void* m_bits = nullptr;
    OffscreenSurface m_surface;
    // The part of the off-screen bitmap the last refresh composed (0 before any).
    int m_shownWidth = 0;
    int m_shownHeight = 0;
    BrushHandle m_frameBrush;
    PenHandle m_framePen;
};
