#include "controls/LinkStatic.h"

#include "hostlink/HostMessages.h"

namespace {

FontHandle MakeLabelFont(BOOL underline) {
    return FontHandle(::CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE, ANSI_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    FF_SWISS, "Tahoma"));
}

FontHandle Resized(HFONT font, LONG height, LONG weight) {
    LOGFONTA description{};
    if (!font || ::GetObjectA(font, sizeof(description), &description) != sizeof(description))
        return FontHandle();
    description.lfHeight = height;
    description.lfWeight = weight;
    return FontHandle(::CreateFontIndirectA(&description));
}

}  // namespace

BEGIN_MESSAGE_MAP(CLinkStatic, CMyStatic)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
END_MESSAGE_MAP()

CLinkStatic::CLinkStatic() : m_normalFont(MakeLabelFont(FALSE)), m_hoverFont(MakeLabelFont(TRUE)) {}

CLinkStatic::~CLinkStatic() {
    if (m_hWnd && ::GetCapture() == m_hWnd) {
        m_hover = 0;
        ::ReleaseCapture();
    }
}

void CLinkStatic::SetNormalFont(FontHandle font) {
    if (!font) return;
    m_normalFont = std::move(font);
    Repaint();
}

void CLinkStatic::SetHoverFont(FontHandle font) {
    if (!font) return;
    m_hoverFont = std::move(font);
    Repaint();
}

BOOL CLinkStatic::ResizeNormalFont(LONG height, LONG weight) {
    FontHandle font = Resized(m_normalFont.get(), height, weight);
    if (!font) return FALSE;
    m_normalFont = std::move(font);
    Repaint();
    return TRUE;
}

BOOL CLinkStatic::ResizeHoverFont(LONG height, LONG weight) {
    FontHandle font = Resized(m_hoverFont.get(), height, weight);
    if (!font) return FALSE;
    m_hoverFont = std::move(font);
    Repaint();
    return TRUE;
}

HFONT CLinkStatic::GetPaintFont() const {
    return (m_link && m_hover) ? m_hoverFont.get() : m_normalFont.get();
}

void CLinkStatic::OnPaint() {
    PaintDc paint(m_hWnd);
    HDC dc = paint.get();
    if (!dc) return;
    const COLORREF oldText = ::SetTextColor(dc, m_color);
    const COLORREF oldBack = ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    const int oldMode = ::SetBkMode(dc, OPAQUE);
    {
        SelectObjectScope font(dc, GetPaintFont());
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        const std::string text = GetWindowText();
        // Left and top unless someone changed the DC's alignment.
        const UINT format = ::GetTextAlign(dc);
        ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &client, format);
    }
    ::SetBkMode(dc, oldMode);
    ::SetBkColor(dc, oldBack);
    ::SetTextColor(dc, oldText);
}

void CLinkStatic::OnMouseMove(UINT flags, POINT point) {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const bool inside = ::PtInRect(&client, point) != FALSE;
    if (inside && m_hover == 0) {
        ::SetCapture(m_hWnd);
        m_hover = 1;
    } else if (!inside && m_hover == 1) {
        m_hover = 0;  // before the release: the capture change must not count as a loss
        ::ReleaseCapture();
    }
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    DefWindowProc(WM_MOUSEMOVE, flags, MAKELPARAM(point.x, point.y));
}

void CLinkStatic::OnLButtonDown(UINT flags, POINT point) {
    ::PostMessageA(::GetParent(m_hWnd), WM_UI_LINK_CLICKED,
                   static_cast<WPARAM>(::GetDlgCtrlID(m_hWnd)), 0);
    DefWindowProc(WM_LBUTTONDOWN, flags, MAKELPARAM(point.x, point.y));
}

LRESULT CLinkStatic::OnCaptureChanged(WPARAM wp, LPARAM lp) {
    // Someone else took the mouse (a dialog or menu opened by the click): the
    // pointer may be anywhere now, so stop hovering instead of staying stuck.
    if (m_hover && reinterpret_cast<HWND>(lp) != m_hWnd) {
        m_hover = 0;
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }
    return DefWindowProc(WM_CAPTURECHANGED, wp, lp);
}
