#include "dialogs/ImageEditor.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "framework/WinApp.h"
#include "hostlink/HostMessages.h"
#include "res/Resource.h"

namespace {

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
// Pictures beyond this size are refused rather than handed to GDI.
constexpr int kLargestPictureSide = 1 << 15;

RECT Normalized(POINT a, POINT b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

bool IsAllZero(const RECT& r) {
    return r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0;
}

hostlink::HostPoint ToHost(POINT p) {
    return {static_cast<int32_t>(p.x), static_cast<int32_t>(p.y)};
}

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

void Cross(HDC dc, POINT at, int arm) {
    ::MoveToEx(dc, at.x - arm, at.y, nullptr);
    ::LineTo(dc, at.x + arm, at.y);
    ::MoveToEx(dc, at.x, at.y - arm, nullptr);
    ::LineTo(dc, at.x, at.y + arm);
}

void HollowRectangle(HDC dc, const RECT& r, HPEN pen) {
    if (!pen) return;
    SelectObjectScope selected(dc, pen);
    ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

}  // namespace

BEGIN_MESSAGE_MAP(CImageEditor, CStatic)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
// Static controls take double clicks: the second click of a quick pair
// (polygon vertices are clicked quickly) is a click like any other.
ON_MESSAGE(WM_LBUTTONDBLCLK, OnLButtonDown)
ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
ON_MESSAGE(WM_SETCURSOR, OnSetCursor)
ON_MESSAGE(WM_NCHITTEST, OnNcHitTest)
ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
END_MESSAGE_MAP()

CImageEditor::CImageEditor()
    : m_frameBrush(::CreateSolidBrush(kWhite)), m_framePen(::CreatePen(PS_SOLID, 1, RGB(0, 0, 0))) {
    m_line.p1.x = -1;
}

CImageEditor::~CImageEditor() {
    ReleaseMouse();
    m_memoryGraphics.reset();
    if (m_memoryDc && m_memoryDcOldBitmap) ::SelectObject(m_memoryDc.get(), m_memoryDcOldBitmap);
    m_memoryBitmap.reset();
    m_memoryDc.reset();
}

// ---- Set-up ----

void CImageEditor::Initialize(int mode, HWND notifyWnd, const BITMAPINFO* header, const void* bits,
                              int tag) {
    switch (mode) {
        case kModePoints:
            m_greenPen.reset(::CreatePen(PS_SOLID, 1, kGreen));
            m_redPen.reset(::CreatePen(PS_SOLID, 1, kRed));
            m_labelFont.reset(::CreateFontA(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 0, 0, 0,
                                            0, FF_SWISS, "Tahoma"));
            break;
        case kModeCountingLine:
            m_dragging = false;
            m_dottedGreenPen.reset(::CreatePen(PS_DOT, 1, kGreen));
            m_greenPen.reset(::CreatePen(PS_SOLID, 1, kGreen));
            m_counterRectPen.reset(::CreatePen(PS_SOLID, 2, kWhite));
            break;
        case kModeTestLeft:
        case kModeTestRight:
            m_dragging = false;
            m_dottedGreenPen.reset(::CreatePen(PS_DOT, 1, kGreen));
            m_greenPen.reset(::CreatePen(PS_SOLID, 1, kGreen));
            break;
        case kModeMarkPoint:
            if (!m_greenPen) m_greenPen.reset(::CreatePen(PS_SOLID, 1, kGreen));
            break;
        default:
            break;
    }
    m_mode = mode;
    m_notifyWnd = notifyWnd;
    m_header = header;
    m_bits = header ? bits : nullptr;
    m_tag = tag;
    CreateOffscreen();
}

void CImageEditor::CreateOffscreen() {
    m_memoryGraphics.reset();
    if (m_memoryDc && m_memoryDcOldBitmap) ::SelectObject(m_memoryDc.get(), m_memoryDcOldBitmap);
    m_memoryDcOldBitmap = nullptr;
    m_memoryBitmap.reset();
    m_memoryDc.reset();
    m_memoryWidth = m_memoryHeight = 0;
    m_shownWidth = m_shownHeight = 0;

    // Always the 320 x 240 of the overlay coordinates: a picture of another
    // size is drawn 1:1 from the top-left corner and shows what fits.
    WindowDc windowDc(m_hWnd);  // the screen's DC while there is no window yet
    m_memoryDc.reset(::CreateCompatibleDC(windowDc.get()));
    m_memoryBitmap.reset(::CreateCompatibleBitmap(windowDc.get(), kWidth, kHeight));
    if (!m_memoryDc || !m_memoryBitmap) {
        m_memoryBitmap.reset();
        m_memoryDc.reset();
        return;
    }
    m_memoryDcOldBitmap = ::SelectObject(m_memoryDc.get(), m_memoryBitmap.get());
    ::SetStretchBltMode(m_memoryDc.get(), HALFTONE);
    ::SetBrushOrgEx(m_memoryDc.get(), 0, 0, nullptr);
    m_memoryGraphics = std::make_unique<Gdiplus::Graphics>(m_memoryDc.get());
    m_memoryWidth = kWidth;
    m_memoryHeight = kHeight;
}

void CImageEditor::ReleaseModeObjects() {
    m_greenPen.reset();
    m_redPen.reset();
    m_dottedGreenPen.reset();
    m_labelFont.reset();
    m_counterRectPen.reset();
    m_shapePen.reset();
    m_shapeDottedPen.reset();
    m_shapeWidePen.reset();
    m_shapePenColor = CLR_INVALID;
}

void CImageEditor::SetArrowImages(BitmapPtr in, BitmapPtr out) {
    if (!in || !out) return;
    m_arrowIn = std::move(in);
    m_arrowOut = std::move(out);
    UpdateLineOverlay();  // the arrows' places depend on their size
}

void CImageEditor::SetCountingLine(int x1, int y1, int x2, int y2, float inAngle) {
    m_line.p1 = {x1, y1};
    m_line.p2 = {x2, y2};
    m_inAngle = inAngle;
    UpdateLineOverlay();
}

void CImageEditor::UpdateLineOverlay() {
    const int32_t w = m_arrowIn ? static_cast<int32_t>(m_arrowIn->GetWidth()) : 0;
    const int32_t h = m_arrowIn ? static_cast<int32_t>(m_arrowIn->GetHeight()) : 0;
    m_line = hostlink::ComputeCountingLineOverlay(m_line.p1, m_line.p2, m_inAngle, w, h);
    m_painter.SetOverlay(m_line);
}

void CImageEditor::SetMask(HRGN region) {
    if (!region) {
        m_mask.reset();
        return;
    }
    if (RegionHandle copy = CopyRegion(region)) m_mask = std::move(copy);
}

void CImageEditor::BuildMask(int wholePicture) {
    if (wholePicture != 0) {
        const RECT whole = PictureRect();
        m_mask.reset(::CreateRectRgnIndirect(&whole));
        return;
    }
    RegionHandle shape;
    if (m_tool == kToolEllipse || m_tool == kToolRectangle) {
        const RECT r = Normalized(m_dragStart, m_dragEnd);
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

void CImageEditor::DiscardPolygon() {
    m_polygon.clear();
    m_dragging = false;
    ReleaseMouse();
}

// ---- Tool cursor ----

void CImageEditor::ApplyToolCursor() {
    if (!m_toolCursor) {
        m_toolCursor = ::LoadCursorA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDC_TOOL_CURSOR));
    }
    m_toolCursorInForce = true;
    POINT at{};
    if (m_hWnd && m_toolCursor && ::GetCursorPos(&at) && ::WindowFromPoint(at) == m_hWnd)
        ::SetCursor(m_toolCursor);
}

void CImageEditor::RestoreCursor() {
    if (!m_toolCursorInForce) return;
    m_toolCursorInForce = false;
    POINT at{};
    if (m_hWnd && ::GetCursorPos(&at) && ::WindowFromPoint(at) == m_hWnd) {
        ::SetCursor(reinterpret_cast<HCURSOR>(
            static_cast<ULONG_PTR>(::GetClassLongPtrA(m_hWnd, GCLP_HCURSOR))));
    }
}

LRESULT CImageEditor::OnSetCursor(WPARAM wp, LPARAM lp) {
    // Only this control shows the tool cursor: its class is shared with
    // every other static control of the program.
    if (m_toolCursorInForce && m_toolCursor && LOWORD(lp) == HTCLIENT) {
        ::SetCursor(m_toolCursor);
        return TRUE;
    }
    return DefWindowProc(WM_SETCURSOR, wp, lp);
}

LRESULT CImageEditor::OnNcHitTest(WPARAM, LPARAM) {
    // A static control is transparent to the mouse unless it asks to be
    // notified; the picture takes its input whatever its template says.
    return HTCLIENT;
}

LRESULT CImageEditor::OnGetDlgCode(WPARAM wp, LPARAM lp) {
    // The modes that move a point by key keep the arrows: the dialog must
    // not take them for moving the focus to the next control.
    const LRESULT code = DefWindowProc(WM_GETDLGCODE, wp, lp);
    if (m_mode == kModePoints || m_mode == kModeTestLeft || m_mode == kModeTestRight)
        return code | DLGC_WANTARROWS;
    return code;
}

// ---- Rendering ----

void CImageEditor::Redraw() {
    if (!m_bits || !m_header || !m_memoryDc) return;
    int width = 0;
    int height = 0;
    if (!PictureSize(m_header, &width, &height)) return;
    HDC memory = m_memoryDc.get();
    ::StretchDIBits(memory, 0, 0, width, height, 0, 0, width, height, m_bits, m_header,
                    DIB_RGB_COLORS, SRCCOPY);
    DrawOverlay(memory);
    m_shownWidth = std::min(width, m_memoryWidth);
    m_shownHeight = std::min(height, m_memoryHeight);
    if (!m_hWnd) return;
    WindowDc window(m_hWnd);
    ShowComposed(window.get());
}

void CImageEditor::ShowComposed(HDC dc) const {
    // Never beyond the picture, the bitmap or the control: a static control
    // draws with its parent's clipping.
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const int width = std::min(m_shownWidth, static_cast<int>(client.right));
    const int height = std::min(m_shownHeight, static_cast<int>(client.bottom));
    if (width <= 0 || height <= 0 || !m_memoryDc) return;
    ::BitBlt(dc, 0, 0, width, height, m_memoryDc.get(), 0, 0, SRCCOPY);
}

void CImageEditor::OnPaint() {
    // A repaint (the control uncovered, the dialog shown after the first
    // picture) shows the last picture composed, not an empty frame until
    // the host happens to send the next one.
    PaintDc paint(m_hWnd);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    {
        SelectObjectScope pen(paint.get(), m_framePen.get());
        SelectObjectScope brush(paint.get(), m_frameBrush.get());
        ::Rectangle(paint.get(), client.left, client.top, client.right, client.bottom);
    }
    ShowComposed(paint.get());
}

void CImageEditor::DrawOverlay(HDC dc) {
    // Every refresh starts from the same DC state, whatever the last one left.
    const int oldBkMode = ::GetBkMode(dc);
    switch (m_mode) {
        case kModePoints:
            DrawPointsOverlay(dc);
            break;
        case kModeCountingLine:
            DrawCountingLineOverlay(dc);
            break;
        case kModeTestLeft:
        case kModeTestRight:
            DrawTestOverlay(dc);
            break;
        case kModeMarkPoint:
            DrawMarkOverlay(dc);
            break;
        default:
            break;
    }
    if (oldBkMode != 0) ::SetBkMode(dc, oldBkMode);
}

void CImageEditor::DrawPointsOverlay(HDC dc) {
    if (!m_greenPen || !m_labelFont) return;
    SelectObjectScope font(dc, m_labelFont.get());
    const int oldBkMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = ::SetTextColor(dc, kRed);
    for (size_t i = 0; i < m_points.size(); ++i) {
        const POINT p = m_points[i];
        {
            SelectObjectScope pen(dc, m_greenPen.get());
            Cross(dc, p, 2);
        }
        char label[24];
        const int length = std::snprintf(label, sizeof label, "%d", static_cast<int>(i));
        if (length > 0) ::TextOutA(dc, p.x, p.y + 4, label, length);
    }
    ::SetTextColor(dc, oldColor);
    if (oldBkMode != 0) ::SetBkMode(dc, oldBkMode);
}

void CImageEditor::SelectShapePens(COLORREF color) {
    if (color == m_shapePenColor && m_shapePen && m_shapeDottedPen && m_shapeWidePen) return;
    m_shapePen.reset(::CreatePen(PS_SOLID, 1, color));
    m_shapeDottedPen.reset(::CreatePen(PS_DOT, 1, color));
    m_shapeWidePen.reset(::CreatePen(PS_SOLID, 2, color));
    m_shapePenColor = color;
}

void CImageEditor::DrawCountingLineOverlay(HDC dc) {
    if (m_dragging && m_tool == kToolLine && m_preview.hasLine)
        controls::DrawBand(dc, m_preview.band, m_dottedGreenPen.get());

    if (m_line.p1.x != -1 && m_arrowIn && m_arrowOut && m_memoryGraphics) {
        m_painter.DrawLine(dc, *m_memoryGraphics, m_greenPen.get(), m_arrowIn.get(),
                           m_arrowOut.get(), m_ioDirection, m_countingMode);
    }

    // After ALL the shapes cut holes: they are drawn in the opposite colour.
    const COLORREF maskColor = m_maskColor & 0x00FFFFFF;
    const COLORREF color = m_wholePicture ? 0x00FFFFFF - maskColor : maskColor;
    ::SetBkMode(dc, TRANSPARENT);
    SelectShapePens(color);
    SelectObjectScope hollow(dc, ::GetStockObject(NULL_BRUSH));
    const bool whole = m_wholePicture != 0;

    if (m_tool == kToolPolygon && !m_polygon.empty()) {
        const HPEN fixedPen = whole ? m_shapeWidePen.get() : m_shapePen.get();
        const HPEN movingPen = whole ? m_shapeWidePen.get() : m_shapeDottedPen.get();
        HollowRectangle(dc, m_closingSquare, fixedPen);
        const size_t n = m_polygon.size();
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
        const HPEN pen = whole ? m_shapeWidePen.get() : m_shapeDottedPen.get();
        const RECT r = Normalized(m_dragStart, m_dragEnd);
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

void CImageEditor::DrawTestOverlay(HDC dc) {
    if (m_testMethod == kTestPoint) {
        if (!m_greenPen) return;
        SelectObjectScope pen(dc, m_greenPen.get());
        Cross(dc, m_testPoint, 3);
        return;
    }
    SelectObjectScope hollow(dc, ::GetStockObject(NULL_BRUSH));
    if (m_dragging) {
        HollowRectangle(dc, Normalized(m_regionDragStart, m_regionDragEnd), m_dottedGreenPen.get());
    } else if (!IsAllZero(m_testRegion)) {
        HollowRectangle(dc, m_testRegion, m_greenPen.get());
    }
}

void CImageEditor::DrawMarkOverlay(HDC dc) {
    if (!m_greenPen || !m_markShown) return;
    SelectObjectScope pen(dc, m_greenPen.get());
    Cross(dc, m_clickPoint, 3);
}

// ---- Mouse ----

void CImageEditor::OnLButtonDown(UINT flags, POINT point) {
    SetFocus();
    switch (m_mode) {
        case kModePoints:
            if (m_points.size() < kMaxPoints) m_points.push_back(point);
            break;
        case kModeCountingLine:
            if (m_tool == kToolNone) {  // nothing to draw with: not even a refresh
                DefWindowProc(WM_LBUTTONDOWN, flags, MAKELPARAM(point.x, point.y));
                return;
            }
            CountingLineButtonDown(point);
            break;
        case kModeTestLeft:
        case kModeTestRight:
            TestButtonDown(point);
            break;
        case kModeMarkPoint:
            m_clickPoint = point;
            m_markShown = true;
            Notify(WM_UI_MARK_POINT, static_cast<WPARAM>(static_cast<uint32_t>(m_tag)), 0);
            break;
        default:
            break;
    }
    Redraw();
    DefWindowProc(WM_LBUTTONDOWN, flags, MAKELPARAM(point.x, point.y));
}

void CImageEditor::CountingLineButtonDown(POINT point) {
    if (m_tool < kToolLine || m_tool > kToolPolygon) return;
    ::SetCapture(m_hWnd);
    m_dragging = true;
    if (m_tool != kToolPolygon) {
        m_dragStart = m_dragEnd = point;
        m_preview = hostlink::ComputeCountingLineOverlay(ToHost(point), ToHost(point), 0.0f, 0, 0);
        return;
    }
    if (!InsideClient(point)) {  // a click beside the picture gives the polygon up
        DiscardPolygon();
        return;
    }
    if (m_polygon.empty()) {
        // The fixed first vertex and the vertex that follows the mouse.
        m_polygon.assign(2, point);
        m_closingSquare = {point.x - 4, point.y - 4, point.x + 5, point.y + 5};
    } else if (::PtInRect(&m_closingSquare, point)) {
        m_polygon.back() = m_polygon.front();
        BuildMask(0);
        ReleaseMouse();
    } else {
        m_polygon.back() = point;
        if (m_polygon.size() < kMaxPolygonVertices) m_polygon.push_back(point);
    }
}

void CImageEditor::TestButtonDown(POINT point) {
    if (m_testMethod == kTestPoint) {
        m_testPoint = point;
        Notify(WM_UI_SELECTION_CHANGED, hostlink::kSelectionPoint, m_mode);
    } else if (m_testMethod == kTestRegion && m_mode == kModeTestLeft) {
        ::SetCapture(m_hWnd);
        m_dragging = true;
        m_regionDragStart = m_regionDragEnd = point;
    }
}

void CImageEditor::OnMouseMove(UINT flags, POINT point) {
    if (m_mode == kModeCountingLine) {
        CountingLineMouseMove(point);
    } else if (m_mode == kModeTestLeft && m_testMethod == kTestRegion && m_dragging) {
        if (InsideClient(point)) {
            m_regionDragEnd = point;
        } else {
            EndRegionDrag();
        }
        Redraw();
    }
    DefWindowProc(WM_MOUSEMOVE, flags, MAKELPARAM(point.x, point.y));
}

void CImageEditor::CountingLineMouseMove(POINT point) {
    const bool inside = InsideClient(point);
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
            EndDrag(m_dragEnd);  // ends where the mouse last was on the picture
        }
    }
    if (m_tool == kToolPolygon && m_polygon.empty()) return;
    Redraw();
}

void CImageEditor::OnLButtonUp(UINT flags, POINT point) {
    if (m_mode == kModeCountingLine && m_dragging) {
        EndDrag(InsideClient(point) ? point : m_dragEnd);
    } else if (m_mode == kModeTestLeft && m_testMethod == kTestRegion && m_dragging) {
        EndRegionDrag();
    }
    Redraw();
    DefWindowProc(WM_LBUTTONUP, flags, MAKELPARAM(point.x, point.y));
}

void CImageEditor::EndDrag(POINT end) {
    m_dragging = false;
    switch (m_tool) {
        case kToolLine: {
            m_dragEnd = end;
            const double length = std::hypot(static_cast<double>(m_dragEnd.x) - m_dragStart.x,
                                             static_cast<double>(m_dragEnd.y) - m_dragStart.y);
            if (length >= kShortestLine)
                Notify(WM_UI_HOST_REQUEST, hostlink::kRequestCountingLine, 0);
            ReleaseMouse();
            break;
        }
        case kToolEllipse:
        case kToolRectangle:
            m_dragEnd = end;
            BuildMask(0);
            ReleaseMouse();
            break;
        case kToolPolygon:
            break;  // the polygon keeps the mouse until it is closed or given up
        default:
            ReleaseMouse();  // the owner took the tool away during the drag
            break;
    }
}

void CImageEditor::EndRegionDrag() {
    ReleaseMouse();
    m_dragging = false;
    const int64_t width = static_cast<int64_t>(m_regionDragEnd.x) - m_regionDragStart.x;
    const int64_t height = static_cast<int64_t>(m_regionDragEnd.y) - m_regionDragStart.y;
    if (std::llabs(width) >= kSmallestTestRegion && std::llabs(height) >= kSmallestTestRegion) {
        m_testRegion = Normalized(m_regionDragStart, m_regionDragEnd);
        Notify(WM_UI_SELECTION_CHANGED, hostlink::kSelectionRegion, m_mode);
    } else {
        m_testRegion = {0, 0, 0, 0};
    }
    m_regionDragStart = m_regionDragEnd;
}

// ---- Keys ----

BOOL CImageEditor::PreTranslateMessage(MSG* msg) {
    if (!msg || msg->message != WM_KEYDOWN || !m_hWnd || msg->hwnd != m_hWnd) return FALSE;
    if (m_mode == kModePoints && !m_points.empty()) {
        MoveByKey(m_points.back(), msg->wParam);
        Redraw();
    } else if ((m_mode == kModeTestLeft || m_mode == kModeTestRight) &&
               m_testMethod == kTestPoint) {
        MoveByKey(m_testPoint, msg->wParam);
        Notify(WM_UI_SELECTION_CHANGED, hostlink::kSelectionPoint, m_mode);
        Redraw();
    }
    return FALSE;  // the key is handled normally afterwards
}

void CImageEditor::MoveByKey(POINT& point, WPARAM key) const {
    const RECT area = PictureRect();
    switch (key) {
        case VK_LEFT:
            if (point.x > 0) --point.x;
            break;
        case VK_RIGHT:
            if (point.x < area.right - 1) ++point.x;
            break;
        case VK_UP:
            if (point.y > 0) --point.y;
            break;
        case VK_DOWN:
            if (point.y < area.bottom - 1) ++point.y;
            break;
        default:
            break;
    }
}

// ---- Helpers ----

RECT CImageEditor::PictureRect() const {
    RECT client{0, 0, kWidth, kHeight};
    if (m_hWnd) ::GetClientRect(m_hWnd, &client);
    return client;
}

bool CImageEditor::InsideClient(POINT point) const {
    const RECT client = PictureRect();
    return ::PtInRect(&client, point) != FALSE;
}

void CImageEditor::ReleaseMouse() {
    if (m_hWnd && ::GetCapture() == m_hWnd) ::ReleaseCapture();
}

void CImageEditor::Notify(UINT message, WPARAM wp, LPARAM lp) const {
    if (m_notifyWnd) ::PostMessageA(m_notifyWnd, message, wp, lp);
}
