#include "dialogs/PictureCanvas.h"

#include <algorithm>
#include <cstdint>

namespace {

// Pictures beyond this size are refused rather than handed to GDI.
constexpr int kLargestPictureSide = 1 << 15;

// The picture's size from its header; false when there is nothing sensible to draw.
bool PictureSize(const BITMAPINFO* header, int* width, int* height) {
    const BITMAPINFOHEADER& h = header->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biHeight == 0) return false;
    const int64_t rows = h.biHeight < 0 ? -static_cast<int64_t>(h.biHeight) : h.biHeight;
    if (h.biWidth > kLargestPictureSide || rows > kLargestPictureSide) return false;
    *width = static_cast<int>(h.biWidth);
    *height = static_cast<int>(rows);
    return true;
}

}  // namespace

PictureCanvas::PictureCanvas()
    : m_frameBrush(::CreateSolidBrush(RGB(255, 255, 255))),
      m_framePen(::CreatePen(PS_SOLID, 1, RGB(0, 0, 0))) {}

void PictureCanvas::SetSource(const BITMAPINFO* header, const void* bits) {
    m_header = header;
    m_bits = header ? bits : nullptr;
}

void PictureCanvas::Reset(HWND control) {
    m_surface = OffscreenSurface(control, kWidth, kHeight, true);
    m_shownWidth = m_shownHeight = 0;
    if (!m_surface) return;
    ::SetStretchBltMode(m_surface.dc(), HALFTONE);
    ::SetBrushOrgEx(m_surface.dc(), 0, 0, nullptr);
}

bool PictureCanvas::Compose(
    const std::function<void(HDC dc, Gdiplus::Graphics& graphics)>& overlay) {
    if (!m_bits || !m_header || !m_surface) return false;
    int width = 0;
    int height = 0;
    if (!PictureSize(m_header, &width, &height)) return false;
    HDC memory = m_surface.dc();
    ::StretchDIBits(memory, 0, 0, width, height, 0, 0, width, height, m_bits, m_header,
                    DIB_RGB_COLORS, SRCCOPY);
    overlay(memory, *m_surface.graphics());
    m_shownWidth = std::min(width, m_surface.width());
    m_shownHeight = std::min(height, m_surface.height());
    return true;
}

void PictureCanvas::Show(HWND control, HDC dc) const {
    // Never beyond the picture, the bitmap or the control: a static control
    // draws with its parent's clipping.
    RECT client{};
    ::GetClientRect(control, &client);
    const int width = std::min(m_shownWidth, static_cast<int>(client.right));
    const int height = std::min(m_shownHeight, static_cast<int>(client.bottom));
    if (width <= 0 || height <= 0 || !m_surface) return;
    ::BitBlt(dc, 0, 0, width, height, m_surface.dc(), 0, 0, SRCCOPY);
}

void PictureCanvas::Paint(HWND control) const {
    // A repaint (the control uncovered, the dialog shown after the first
    // picture) shows the last picture composed, not an empty frame until the
    // host happens to send the next one.
    PaintDc paint(control);
    RECT client{};
    ::GetClientRect(control, &client);
    {
        SelectObjectScope pen(paint.get(), m_framePen.get());
        SelectObjectScope brush(paint.get(), m_frameBrush.get());
        ::Rectangle(paint.get(), client.left, client.top, client.right, client.bottom);
    }
    Show(control, paint.get());
}
