#include "dialogs/LineAndMasks.h"

#include <cmath>
#include <cstdint>

#include "hostlink/HostMessages.h"

namespace {

hostlink::HostPoint ToHost(POINT p) {
    return {static_cast<int32_t>(p.x), static_cast<int32_t>(p.y)};
}

bool Inside(const RECT& area, POINT point) {
    return ::PtInRect(&area, point) != FALSE;
}

void HollowRectangle(HDC dc, const RECT& r, HPEN pen) {
    if (!pen) return;
    SelectObjectScope selected(dc, pen);
    ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

}  // namespace

LineAndMasks::LineAndMasks() {
    m_line.p1.x = -1;
}

void LineAndMasks::SetDirection(int ioDirection, int countingMode) {
    m_ioDirection = ioDirection;
    m_countingMode = countingMode;
}

void LineAndMasks::SetArrowImages(BitmapPtr in, BitmapPtr out) {
    if (!in || !out) return;
    m_arrowIn = std::move(in);
    m_arrowOut = std::move(out);
    PlaceLine();  // the arrows' places depend on their size
}

void LineAndMasks::SetCountingLine(int x1, int y1, int x2, int y2, float inAngle) {
    m_line.p1 = {x1, y1};
    m_line.p2 = {x2, y2};
    m_inAngle = inAngle;
    PlaceLine();
}

void LineAndMasks::PlaceLine() {
    const int32_t w = m_arrowIn ? static_cast<int32_t>(m_arrowIn->GetWidth()) : 0;
    const int32_t h = m_arrowIn ? static_cast<int32_t>(m_arrowIn->GetHeight()) : 0;
    m_line = hostlink::ComputeCountingLineOverlay(m_line.p1, m_line.p2, m_inAngle, w, h);
    m_painter.SetOverlay(m_line);
}

void LineAndMasks::SetMask(HRGN region) {
    if (!region) {
        m_mask.reset();
        return;
    }
    if (RegionHandle copy = CopyRegion(region)) m_mask = std::move(copy);
}

void LineAndMasks::BuildMask(bool wholePicture, const RECT& area) {
    if (wholePicture) {
        m_mask.reset(::CreateRectRgnIndirect(&area));
        return;
    }
    RegionHandle shape;
    if (m_tool == kToolEllipse || m_tool == kToolRectangle) {
        const RECT r = SpannedRect(m_dragStart, m_dragEnd);
        const int64_t width = static_cast<int64_t>(r.right) - r.left;
        const int64_t height = static_cast<int64_t>(r.bottom) - r.top;
        if (width <= kLargestIgnoredShape && height <= kLargestIgnoredShape) return;
        shape.reset(m_tool == kToolEllipse ? ::CreateEllipticRgnIndirect(&r)
                                           : ::CreateRectRgnIndirect(&r));
    } else if (m_tool == kToolPolygon && m_polygon.size() >= 3) {
        shape.reset(
            ::CreatePolygonRgn(m_polygon.data(), static_cast<int>(m_polygon.size()), WINDING));
        m_polygon.clear();
    }
    if (!shape) return;
    if (m_mask) {
        ::CombineRgn(m_mask.get(), m_mask.get(), shape.get(), m_wholePicture ? RGN_DIFF : RGN_OR);
    } else {
        m_mask = std::move(shape);
    }
}

void LineAndMasks::DiscardPolygon(PictureInput& input) {
    m_polygon.clear();
    m_dragging = false;
    input.ReleaseMouse();
}

// ---- Mouse

bool LineAndMasks::ButtonDown(POINT point, PictureInput& input) {
    if (m_tool < kToolLine || m_tool > kToolPolygon) {
        return m_tool != kToolNone;  // nothing to draw with: not even a refresh
    }
    input.CaptureMouse();
    m_dragging = true;
    if (m_tool != kToolPolygon) {
        m_dragStart = m_dragEnd = point;
        m_preview = hostlink::ComputeCountingLineOverlay(ToHost(point), ToHost(point), 0.0f, 0, 0);
        return true;
    }
    const RECT area = input.Area();
    if (!Inside(area, point)) {  // a click beside the picture gives the polygon up
        DiscardPolygon(input);
        return true;
    }
    if (m_polygon.empty()) {
        // The fixed first vertex and the vertex that follows the mouse.
        m_polygon.assign(2, point);
        m_closingSquare = {point.x - 4, point.y - 4, point.x + 5, point.y + 5};
    } else if (::PtInRect(&m_closingSquare, point)) {
        m_polygon.back() = m_polygon.front();
        BuildMask(false, area);
        input.ReleaseMouse();
    } else {
        m_polygon.back() = point;
        if (m_polygon.size() < kMaxPolygonVertices) m_polygon.push_back(point);
    }
    return true;
}

bool LineAndMasks::MouseMove(POINT point, PictureInput& input) {
    const bool inside = Inside(input.Area(), point);
    if (m_tool == kToolPolygon && !m_polygon.empty() && inside) {
        m_polygon.back() = point;
    } else if (m_dragging) {
        if (inside) {
            m_dragEnd = point;
            if (m_tool == kToolLine) {
                m_preview = hostlink::ComputeCountingLineOverlay(ToHost(m_dragStart),
                                                                 ToHost(m_dragEnd), 0.0f, 0, 0);
            }
        } else {
            EndDrag(m_dragEnd, input);  // ends where the mouse last was on the picture
        }
    }
    return !(m_tool == kToolPolygon && m_polygon.empty());
}

void LineAndMasks::ButtonUp(POINT point, PictureInput& input) {
    if (m_dragging) EndDrag(Inside(input.Area(), point) ? point : m_dragEnd, input);
}

void LineAndMasks::EndDrag(POINT end, PictureInput& input) {
    m_dragging = false;
    switch (m_tool) {
        case kToolLine: {
            m_dragEnd = end;
            const double length = std::hypot(static_cast<double>(m_dragEnd.x) - m_dragStart.x,
                                             static_cast<double>(m_dragEnd.y) - m_dragStart.y);
            if (length >= kShortestLine)
                input.Notify(WM_UI_HOST_REQUEST, hostlink::kRequestCountingLine, 0);
            input.ReleaseMouse();
            break;
        }
        case kToolEllipse:
        case kToolRectangle:
            m_dragEnd = end;
            BuildMask(false, input.Area());
            input.ReleaseMouse();
            break;
        case kToolPolygon:
            break;  // the polygon keeps the mouse until it is closed or given up
        default:
            input.ReleaseMouse();  // the owner took the tool away during the drag
            break;
    }
}

// ---- Drawing

void LineAndMasks::CreateDrawingObjects() {
    m_dragging = false;
    m_dottedGreenPen.reset(::CreatePen(PS_DOT, 1, RGB(0, 255, 0)));
    m_greenPen.reset(::CreatePen(PS_SOLID, 1, RGB(0, 255, 0)));
    m_counterRectPen.reset(::CreatePen(PS_SOLID, 2, RGB(255, 255, 255)));
}

void LineAndMasks::ReleaseDrawingObjects() {
    m_greenPen.reset();
    m_dottedGreenPen.reset();
    m_counterRectPen.reset();
    m_shapePen.reset();
    m_shapeDottedPen.reset();
    m_shapeWidePen.reset();
    m_shapePenColor = CLR_INVALID;
}

void LineAndMasks::SelectShapePens(COLORREF color) {
    if (color == m_shapePenColor && m_shapePen && m_shapeDottedPen && m_shapeWidePen) return;
    m_shapePen.reset(::CreatePen(PS_SOLID, 1, color));
    m_shapeDottedPen.reset(::CreatePen(PS_DOT, 1, color));
    m_shapeWidePen.reset(::CreatePen(PS_SOLID, 2, color));
    m_shapePenColor = color;
}

void LineAndMasks::Draw(HDC dc, Gdiplus::Graphics& graphics) {
    if (m_dragging && m_tool == kToolLine && m_preview.hasLine)
        controls::DrawBand(dc, m_preview.band, m_dottedGreenPen.get());

    if (m_line.p1.x != -1 && m_arrowIn && m_arrowOut) {
        m_painter.DrawLine(dc, graphics, m_greenPen.get(), m_arrowIn.get(), m_arrowOut.get(),
                           m_ioDirection, m_countingMode);
    }

    // After ALL the shapes cut holes: they are drawn in the opposite colour.
    const COLORREF maskColor = m_maskColor & 0x00FFFFFF;
    const COLORREF color = m_wholePicture ? 0x00FFFFFF - maskColor : maskColor;
    ::SetBkMode(dc, TRANSPARENT);
    SelectShapePens(color);
    SelectObjectScope hollow(dc, ::GetStockObject(NULL_BRUSH));

    if (m_tool == kToolPolygon && !m_polygon.empty()) {
        const HPEN fixedPen = m_wholePicture ? m_shapeWidePen.get() : m_shapePen.get();
        const HPEN movingPen = m_wholePicture ? m_shapeWidePen.get() : m_shapeDottedPen.get();
        HollowRectangle(dc, m_closingSquare, fixedPen);
        const std::size_t n = m_polygon.size();
        if (n >= 3 && fixedPen) {
            SelectObjectScope pen(dc, fixedPen);
            ::Polyline(dc, m_polygon.data(), static_cast<int>(n - 1));
        }
        if (n >= 2 && movingPen) {
            SelectObjectScope pen(dc, movingPen);
            ::MoveToEx(dc, m_polygon[n - 2].x, m_polygon[n - 2].y, nullptr);
            ::LineTo(dc, m_polygon[n - 1].x, m_polygon[n - 1].y);
        }
    } else if (m_dragging && (m_tool == kToolEllipse || m_tool == kToolRectangle)) {
        const HPEN pen = m_wholePicture ? m_shapeWidePen.get() : m_shapeDottedPen.get();
        const RECT r = SpannedRect(m_dragStart, m_dragEnd);
        if (pen) {
            SelectObjectScope selected(dc, pen);
            if (m_tool == kToolEllipse) {
                ::Ellipse(dc, r.left, r.top, r.right, r.bottom);
            } else {
                ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
            }
        }
    }

    if (m_mask) m_painter.DrawMask(dc, m_mask.get(), maskColor);
    HollowRectangle(dc, m_counterRect, m_counterRectPen.get());
}
