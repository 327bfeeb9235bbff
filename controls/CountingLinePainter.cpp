#include "controls/CountingLinePainter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace controls {

namespace {

// Larger arrow layers are not kept: such arrows are drawn directly.
constexpr int kLargestLayerSide = 1024;

const hostlink::Affine2x3& Transform(const hostlink::CountingLineOverlay& o, size_t index) {
    const hostlink::Affine2x3* all[4] = {&o.t1, &o.t2, &o.t3, &o.t4};
    return *all[index];
}

}  // namespace

CountingLinePainter::CountingLinePainter() {
    for (auto& transform : m_transforms) transform = std::make_unique<Gdiplus::Matrix>();
    m_yellowKey = std::make_unique<Gdiplus::ImageAttributes>();
    // The arrow pictures stand on pure yellow, which must not show.
    Gdiplus::ColorMap yellowToClear{Gdiplus::Color(255, 255, 255, 0), Gdiplus::Color(0, 0, 0, 0)};
    m_yellowKey->SetRemapTable(1, &yellowToClear);
}

CountingLinePainter::~CountingLinePainter() {
    FreeArrowLayer();
}

void CountingLinePainter::SetOverlay(const hostlink::CountingLineOverlay& overlay) {
    m_overlay = overlay;
    m_layer.built = false;
    const hostlink::Affine2x3* sources[4] = {&m_overlay.t1, &m_overlay.t2, &m_overlay.t3,
                                             &m_overlay.t4};
    for (size_t i = 0; i < m_transforms.size(); ++i) {
        const hostlink::Affine2x3& m = *sources[i];
        // A failed operation leaves its status in the matrix; drawing goes on.
        if (!m_transforms[i]) {
            m_transforms[i] =
                std::make_unique<Gdiplus::Matrix>(m.m11, m.m12, m.m21, m.m22, m.dx, m.dy);
        } else {
            m_transforms[i]->SetElements(m.m11, m.m12, m.m21, m.m22, m.dx, m.dy);
        }
    }
}

void CountingLinePainter::DrawLine(HDC dc, Gdiplus::Graphics& graphics, HPEN pen,
                                   Gdiplus::Bitmap* arrowIn, Gdiplus::Bitmap* arrowOut,
                                   int ioDirection, int countingMode) {
    if (!m_overlay.hasLine) return;
    DrawBand(dc, m_overlay.band, pen);
    if (!m_overlay.hasArrows || !arrowIn || !arrowOut) return;

    if (!m_layer.built || m_layer.arrowIn != arrowIn || m_layer.arrowOut != arrowOut ||
        m_layer.ioDirection != ioDirection || m_layer.countingMode != countingMode) {
        BuildArrowLayer(arrowIn, arrowOut, ioDirection, countingMode);
    }
    if (!m_layer.valid) {
        DrawArrows(graphics, arrowIn, arrowOut, ioDirection, countingMode, POINT{0, 0});
        return;
    }
    const RECT& r = m_layer.place;
    if (r.right <= r.left || r.bottom <= r.top) return;
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::GdiAlphaBlend(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, m_layer.dc.get(), 0, 0,
                    r.right - r.left, r.bottom - r.top, blend);
}

void CountingLinePainter::DrawArrows(Gdiplus::Graphics& graphics, Gdiplus::Bitmap* arrowIn,
                                     Gdiplus::Bitmap* arrowOut, int ioDirection, int countingMode,
                                     const POINT& shift) const {
    // Both arrows are drawn at the in arrow's size, the size their places
    // were computed for.
    const INT w = static_cast<INT>(arrowIn->GetWidth());
    const INT h = static_cast<INT>(arrowIn->GetHeight());
    const bool reversed = ioDirection != 0;
    const auto draw = [&](Gdiplus::Bitmap* arrow, size_t transform, hostlink::HostPoint at) {
        Gdiplus::Matrix* matrix = m_transforms[transform].get();
        MatrixPtr shifted;
        if (shift.x != 0 || shift.y != 0) {
            shifted.reset(matrix->Clone());
            if (!shifted) return;
            shifted->Translate(static_cast<Gdiplus::REAL>(-shift.x),
                               static_cast<Gdiplus::REAL>(-shift.y), Gdiplus::MatrixOrderAppend);
            matrix = shifted.get();
        }
        graphics.SetTransform(matrix);
        graphics.DrawImage(arrow, Gdiplus::Rect(at.x, at.y, w, h), 0, 0, w, h, Gdiplus::UnitPixel,
                           m_yellowKey.get());
    };
    if (countingMode != 2) draw(arrowIn, reversed ? 1 : 0, m_overlay.inArrow);    // not "Out Only"
    if (countingMode != 1) draw(arrowOut, reversed ? 3 : 2, m_overlay.outArrow);  // not "In Only"
    graphics.ResetTransform();
    // GDI draws on the same DC next: the arrows must be there first.
    graphics.Flush(Gdiplus::FlushIntentionSync);
}

void CountingLinePainter::FreeArrowLayer() {
    if (m_layer.dc && m_layer.oldBitmap) ::SelectObject(m_layer.dc.get(), m_layer.oldBitmap);
    m_layer.oldBitmap = nullptr;
    m_layer.bitmap.reset();
    m_layer.dc.reset();
    m_layer.valid = false;
}

void CountingLinePainter::BuildArrowLayer(Gdiplus::Bitmap* arrowIn, Gdiplus::Bitmap* arrowOut,
                                          int ioDirection, int countingMode) {
    FreeArrowLayer();
    m_layer.arrowIn = arrowIn;
    m_layer.arrowOut = arrowOut;
    m_layer.ioDirection = ioDirection;
    m_layer.countingMode = countingMode;
    m_layer.built = true;

    // Where the turned arrows land: the box around their turned corners.
    const float w = static_cast<float>(arrowIn->GetWidth());
    const float h = static_cast<float>(arrowIn->GetHeight());
    const bool reversed = ioDirection != 0;
    float left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;
    bool any = false;
    const auto cover = [&](size_t transform, hostlink::HostPoint at) {
        const float x = static_cast<float>(at.x);
        const float y = static_cast<float>(at.y);
        const hostlink::PointF corners[4] = {{x, y}, {x + w, y}, {x, y + h}, {x + w, y + h}};
        for (const hostlink::PointF& corner : corners) {
            const hostlink::PointF p = Transform(m_overlay, transform).Apply(corner);
            left = any ? std::min(left, p.x) : p.x;
            top = any ? std::min(top, p.y) : p.y;
            right = any ? std::max(right, p.x) : p.x;
            bottom = any ? std::max(bottom, p.y) : p.y;
            any = true;
        }
    };
    if (countingMode != 2) cover(reversed ? 1 : 0, m_overlay.inArrow);
    if (countingMode != 1) cover(reversed ? 3 : 2, m_overlay.outArrow);
    if (!any) {  // neither arrow is drawn: an empty layer
        m_layer.valid = true;
        m_layer.place = {0, 0, 0, 0};
        return;
    }
    constexpr float kFar = 1.0e6f;  // also false for NaN
    if (!(std::fabs(left) < kFar && std::fabs(top) < kFar && std::fabs(right) < kFar &&
          std::fabs(bottom) < kFar)) {
        return;
    }
    // Two pixels of margin for the smoothing at the edges.
    const RECT place{
        static_cast<LONG>(std::floor(left)) - 2, static_cast<LONG>(std::floor(top)) - 2,
        static_cast<LONG>(std::ceil(right)) + 2, static_cast<LONG>(std::ceil(bottom)) + 2};
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    if (width <= 0 || height <= 0 || width > kLargestLayerSide || height > kLargestLayerSide)
        return;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, as GDI+ lays out its rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    m_layer.bitmap.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    m_layer.dc.reset(::CreateCompatibleDC(nullptr));
    if (!m_layer.bitmap || !m_layer.dc || !bits) {
        FreeArrowLayer();
        return;
    }
    m_layer.oldBitmap = ::SelectObject(m_layer.dc.get(), m_layer.bitmap.get());
    std::memset(bits, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    {
        Gdiplus::Bitmap target(width, height, width * 4, PixelFormat32bppPARGB,
                               static_cast<BYTE*>(bits));
        Gdiplus::Graphics graphics(&target);
        if (graphics.GetLastStatus() != Gdiplus::Ok) {
            FreeArrowLayer();
            return;
        }
        DrawArrows(graphics, arrowIn, arrowOut, ioDirection, countingMode,
                   POINT{place.left, place.top});
    }
    ::GdiFlush();
    m_layer.place = place;
    m_layer.valid = true;
}

void CountingLinePainter::DrawMask(HDC dc, HRGN mask, COLORREF color) {
    if (!mask) return;
    color &= 0x00FFFFFF;
    if (color != m_brushColor || !m_hatchBrush || !m_frameBrush) {
        m_hatchBrush.reset(::CreateHatchBrush(HS_DIAGCROSS, color));
        m_frameBrush.reset(::CreateSolidBrush(color));
        m_brushColor = color;
    }
    if (!m_hatchBrush || !m_frameBrush) return;
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    ::FillRgn(dc, mask, m_hatchBrush.get());
    ::FrameRgn(dc, mask, m_frameBrush.get(), 1, 1);
    ::SetBkMode(dc, oldMode != 0 ? oldMode : OPAQUE);
}

void DrawBand(HDC dc, const hostlink::BandCorners& band, HPEN pen) {
    if (!pen) return;
    SelectObjectScope selected(dc, pen);
    const POINT outline[5] = {{band[0].x, band[0].y},
                              {band[1].x, band[1].y},
                              {band[3].x, band[3].y},
                              {band[2].x, band[2].y},
                              {band[0].x, band[0].y}};
    ::Polyline(dc, outline, 5);
}

}  // namespace controls
