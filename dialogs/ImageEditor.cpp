#include "dialogs/ImageEditor.h"

#include "framework/Instance.h"
#include "hostlink/HostMessages.h"
#include "res/Resource.h"

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

CImageEditor::~CImageEditor() {
    m_input.ReleaseMouse();
}

void CImageEditor::Initialize(int mode, HWND notifyWnd, const BITMAPINFO* header, const void* bits,
                              int tag) {
    switch (mode) {
        case kModePoints:
            m_corners.CreateDrawingObjects();
            break;
        case kModeCountingLine:
            m_drawing.CreateDrawingObjects();
            break;
        case kModeTestLeft:
        case kModeTestRight:
            m_test.SetMode(mode);
            m_test.CreateDrawingObjects();
            break;
        case kModeMarkPoint:
            m_mark.CreateDrawingObjects();
            break;
        default:
            break;
    }
    m_mode = mode;
    m_input.Attach(m_hWnd, notifyWnd);
    m_tag = tag;
    m_canvas.SetSource(header, bits);
    m_canvas.Reset(m_hWnd);
}

void CImageEditor::ReleaseModeObjects() {
    m_corners.ReleaseDrawingObjects();
    m_drawing.ReleaseDrawingObjects();
    m_test.ReleaseDrawingObjects();
    m_mark.ReleaseDrawingObjects();
}

// ---- Rendering

void CImageEditor::Redraw() {
    if (!m_canvas.Compose(
            [this](HDC dc, Gdiplus::Graphics& graphics) { DrawOverlay(dc, graphics); }) ||
        !m_hWnd) {
        return;
    }
    WindowDc window(m_hWnd);
    m_canvas.Show(m_hWnd, window.get());
}

void CImageEditor::OnPaint() {
    m_canvas.Paint(m_hWnd);
}

void CImageEditor::DrawOverlay(HDC dc, Gdiplus::Graphics& graphics) {
    // Every refresh starts from the same DC state, whatever the last one left.
    const int oldBkMode = ::GetBkMode(dc);
    switch (m_mode) {
        case kModePoints:
            m_corners.Draw(dc);
            break;
        case kModeCountingLine:
            m_drawing.Draw(dc, graphics);
            break;
        case kModeTestLeft:
        case kModeTestRight:
            m_test.Draw(dc);
            break;
        case kModeMarkPoint:
            m_mark.Draw(dc);
            break;
        default:
            break;
    }
    if (oldBkMode != 0) ::SetBkMode(dc, oldBkMode);
}

// ---- Mouse and keys

void CImageEditor::OnLButtonDown(UINT flags, POINT point) {
    SetFocus();
    bool redraw = true;
    switch (m_mode) {
        case kModePoints:
            m_corners.Click(point);
            break;
        case kModeCountingLine:
            redraw = m_drawing.ButtonDown(point, m_input);
            break;
        case kModeTestLeft:
        case kModeTestRight:
            m_test.ButtonDown(point, m_input);
            break;
        case kModeMarkPoint:
            m_mark.Mark(point);
            m_input.Notify(WM_UI_MARK_POINT, static_cast<WPARAM>(static_cast<uint32_t>(m_tag)), 0);
            break;
        default:
            break;
    }
    if (redraw) Redraw();
    DefWindowProc(WM_LBUTTONDOWN, flags, MAKELPARAM(point.x, point.y));
}

void CImageEditor::OnMouseMove(UINT flags, POINT point) {
    bool redraw = false;
    if (m_mode == kModeCountingLine) {
        redraw = m_drawing.MouseMove(point, m_input);
    } else if (m_mode == kModeTestLeft) {
        redraw = m_test.MouseMove(point, m_input);
    }
    if (redraw) Redraw();
    DefWindowProc(WM_MOUSEMOVE, flags, MAKELPARAM(point.x, point.y));
}

void CImageEditor::OnLButtonUp(UINT flags, POINT point) {
    if (m_mode == kModeCountingLine) {
        m_drawing.ButtonUp(point, m_input);
    } else if (m_mode == kModeTestLeft) {
        m_test.ButtonUp(m_input);
    }
    Redraw();
    DefWindowProc(WM_LBUTTONUP, flags, MAKELPARAM(point.x, point.y));
}

BOOL CImageEditor::PreTranslateMessage(MSG* msg) {
    if (!msg || msg->message != WM_KEYDOWN || !m_hWnd || msg->hwnd != m_hWnd) return FALSE;
    bool moved = false;
    if (m_mode == kModePoints) {
        moved = m_corners.MoveLastByKey(msg->wParam, m_input.Area());
    } else if (m_mode == kModeTestLeft || m_mode == kModeTestRight) {
        moved = m_test.Key(msg->wParam, m_input);
    }
    if (moved) Redraw();
    return FALSE;  // the key is handled normally afterwards
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

// ---- Tool cursor

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
