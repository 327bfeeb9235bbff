#include "view/LivePicture.h"

#include <algorithm>

#include "framework/Instance.h"
#include "res/Resource.h"

LivePicture::LivePicture()
    : m_linePen(::CreatePen(PS_SOLID, 1, RGB(0, 255, 0))),
      m_markerPen(::CreatePen(PS_DOT, 0, RGB(255, 255, 255))) {}

void LivePicture::LoadArrows() {
    m_arrowIn = LoadBitmapResource(AfxGetInstanceHandle(), IDB_ARROW_IN);
    m_arrowOut = LoadBitmapResource(AfxGetInstanceHandle(), IDB_ARROW_OUT);
    PlaceArrows();
}

void LivePicture::Create(HWND view) {
    m_surface = OffscreenSurface(view, PictureFeed::kWidth, PictureFeed::kHeight, true);
}

void LivePicture::SetHostLine(hostlink::HostPoint p1, hostlink::HostPoint p2) {
    m_overlay.p1 = p1;
    m_overlay.p2 = p2;
    PlaceArrows();
}

void LivePicture::SetInAngle(float angleIn) {
    m_angleIn = angleIn;
    PlaceArrows();
}

void LivePicture::PlaceArrows() {
    const int32_t width = m_arrowIn ? static_cast<int32_t>(m_arrowIn->GetWidth()) : 0;
    const int32_t height = m_arrowIn ? static_cast<int32_t>(m_arrowIn->GetHeight()) : 0;
    m_overlay =
        hostlink::ComputeCountingLineOverlay(m_overlay.p1, m_overlay.p2, m_angleIn, width, height);
    m_painter.SetOverlay(m_overlay);
}

void LivePicture::Show(HWND view, const RECT& area, const PictureFeed& feed,
                       const CameraSettings& settings, HRGN mask) {
    if (!m_surface || !feed.HasLivePicture()) return;
    HDC memory = m_surface.dc();
    const hostlink::FrameSize size = feed.LiveSize();
    const int width = static_cast<int>(size.width);
    const int height = static_cast<int>(size.height);
    ::StretchDIBits(memory, 0, 0, width, height, 0, 0, width, height, feed.LivePixels(),
                    feed.LiveHeader(), DIB_RGB_COLORS, SRCCOPY);
    if (settings.counterSetted) {
        if (settings.imageLine[0].x != -1 && m_arrowIn && m_arrowOut) {
            m_painter.DrawLine(memory, *m_surface.graphics(), m_linePen.get(), m_arrowIn.get(),
                               m_arrowOut.get(), settings.countingIODirection,
                               settings.countingIOMode);
            m_surface.graphics()->Flush(Gdiplus::FlushIntentionSync);
        }
        if (mask) {
            m_painter.DrawMask(memory, mask,
                               static_cast<COLORREF>(settings.maskColor) & 0x00FFFFFF);
        }
    }
    {
        SelectObjectScope pen(memory, m_markerPen.get());
        SelectObjectScope brush(memory, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(memory, m_marker.left, m_marker.top, m_marker.right, m_marker.bottom);
    }

    // Only what the 320 x 240 bitmap holds is stretched: a larger picture
    // shows its top-left part, never undefined pixels beyond the bitmap.
    const int sourceWidth = std::min(width, m_surface.width());
    const int sourceHeight = std::min(height, m_surface.height());
    WindowDc window(view);
    ::SetStretchBltMode(window.get(), HALFTONE);
    ::SetBrushOrgEx(window.get(), 0, 0, nullptr);
    ::StretchBlt(window.get(), area.left, area.top, area.right - area.left, area.bottom - area.top,
                 memory, 0, 0, sourceWidth, sourceHeight, SRCCOPY);
}
