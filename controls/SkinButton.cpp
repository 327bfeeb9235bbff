#include "controls/SkinButton.h"

#include "framework/WinApp.h"
#include "hostlink/HostMessages.h"

namespace {

enum class Frame { None, Raised, Focused, Sunken };

// One ring of a 3-D frame: top and left edges in one colour, bottom and right
// in the other, each one pixel wide.
void DrawRing(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight) {
    auto fill = [dc](int left, int top, int right, int bottom, COLORREF color) {
        if (right <= left || bottom <= top) return;
        const RECT strip{left, top, right, bottom};
        ::SetBkColor(dc, color);
        ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &strip, nullptr, 0, nullptr);
    };
    fill(rect.left, rect.top, rect.right - 1, rect.top + 1, topLeft);
    fill(rect.left, rect.top, rect.left + 1, rect.bottom - 1, topLeft);
    fill(rect.right - 1, rect.top, rect.right, rect.bottom, bottomRight);
    fill(rect.left, rect.bottom - 1, rect.right, rect.bottom, bottomRight);
}

void Shrink(RECT& rect) {
    ::InflateRect(&rect, -1, -1);
}

// The 3-D frames of kinds 2 and 3, ring by ring from the outside in.
void DrawFrame(HDC dc, RECT rect, Frame frame, bool focused, HPEN focusPen) {
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF darkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF light = ::GetSysColor(COLOR_3DLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);

    const COLORREF oldBack = ::GetBkColor(dc);
    auto focusRing = [&](const RECT& ring) {
        SelectObjectScope pen(dc, focusPen);
        SelectObjectScope brush(dc, ::GetStockObject(HOLLOW_BRUSH));
        ::Rectangle(dc, ring.left, ring.top, ring.right, ring.bottom);
    };
    switch (frame) {
        case Frame::Raised:
            DrawRing(dc, rect, highlight, darkShadow);
            Shrink(rect);
            DrawRing(dc, rect, light, shadow);
            Shrink(rect);
            DrawRing(dc, rect, face, face);
            Shrink(rect);
            DrawRing(dc, rect, face, face);
            break;
        case Frame::Focused:
            DrawRing(dc, rect, black, black);
            Shrink(rect);
            DrawRing(dc, rect, highlight, darkShadow);
            Shrink(rect);
            DrawRing(dc, rect, light, shadow);
            Shrink(rect);
            focusRing(rect);
            break;
        case Frame::Sunken:
            DrawRing(dc, rect, black, black);
            Shrink(rect);
            DrawRing(dc, rect, shadow, shadow);
            Shrink(rect);
            DrawRing(dc, rect, face, face);
            Shrink(rect);
            if (focused) {
                focusRing(rect);
            } else {
                DrawRing(dc, rect, face, face);
            }
            break;
        case Frame::None:
            break;
    }
    ::SetBkColor(dc, oldBack);
}

bool IsToggle(int kind) {
    return kind == CSkinButton::kToggle || kind == CSkinButton::kFramedToggle;
}

bool IsFramed(int kind) {
    return kind == CSkinButton::kFramedPush || kind == CSkinButton::kFramedToggle;
}

}  // namespace

BEGIN_MESSAGE_MAP(CSkinButton, CButton)
ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
END_MESSAGE_MAP()

CSkinButton::CSkinButton() : m_focusPen(::CreatePen(PS_DOT, 1, RGB(0, 0, 0))) {}

CSkinButton::~CSkinButton() {
    if (m_hWnd && ::GetCapture() == m_hWnd) ::ReleaseCapture();
}

void CSkinButton::PreSubclassWindow() {
    // Clip what lies over us, and let the parent paint first so that its
    // background shows where a picture is keyed out. Owner-drawn whatever the
    // template said: the pictures are the button.
    LONG_PTR style = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    style = (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW;
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style);
    const LONG_PTR exStyle = ::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE);
    ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, exStyle | WS_EX_TRANSPARENT);
    CButton::PreSubclassWindow();
}

BOOL CSkinButton::PreTranslateMessage(MSG* msg) {
    // The main window's skin buttons are pressed with the mouse only (the
    // focus they take on a click must not let Space close the window); the
    // framed tool buttons of a dialog are tab stops, and Space presses them.
    if (!IsFramed(m_kind) && (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) &&
        msg->wParam == VK_SPACE)
        return TRUE;
    return CButton::PreTranslateMessage(msg);
}

void CSkinButton::LoadBitmaps(const std::string& up, const std::string& hover,
                              const std::string& down, const std::string& disabled) {
    m_upPicture = LoadBitmapFile(up);
    m_hoverPicture = LoadBitmapFile(hover);
    m_downPicture = LoadBitmapFile(down);
    m_disabledPicture = LoadBitmapFile(disabled);
    m_shape = 0;
    FitRegion();
}

void CSkinButton::LoadBitmapResource(UINT id, int kind) {
    m_upPicture = ::LoadBitmapResource(AfxGetInstanceHandle(), id);
    m_shape = 0;
    if (kind >= kPush && kind <= kFramedToggle) m_kind = kind;
    FitRegion();
}

void CSkinButton::SetLatched(int latched) {
    m_latched = latched ? 1 : 0;
    RepaintRegion();
}

void CSkinButton::FitRegion() {
    if (!m_hWnd) return;
    m_region.reset();
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    RegionHandle region(
        ::CreateRectRgn(0, 0, window.right - window.left, window.bottom - window.top));
    if (!region) return;

    RECT box{};
    ::GetRgnBox(region.get(), &box);
    if (box.left != 0 || box.top != 0) {
        ::OffsetRgn(region.get(), -box.left, -box.top);
        ::OffsetRect(&box, -box.left, -box.top);
    }
    // Keep the button where it is, at the region's size.
    HWND parent = ::GetParent(m_hWnd);
    ::MapWindowPoints(m_hWnd, parent, reinterpret_cast<POINT*>(&box), 2);
    ::MoveWindow(m_hWnd, box.left, box.top, box.right - box.left, box.bottom - box.top, TRUE);

    // The window owns the region it is given; we keep a copy of our own.
    if (::SetWindowRgn(m_hWnd, region.get(), TRUE)) region.release();
    RegionHandle copy(::CreateRectRgn(0, 0, 0, 0));
    if (copy && ::GetWindowRgn(m_hWnd, copy.get()) != ERROR) m_region = std::move(copy);
}

void CSkinButton::RepaintRegion() {
    if (m_hWnd) ::InvalidateRgn(m_hWnd, m_region.get(), FALSE);
}

void CSkinButton::ResetHover() {
    m_hover = 0;
    if (m_hWnd && ::GetCapture() == m_hWnd) ::ReleaseCapture();
    RepaintRegion();
}

void CSkinButton::OnMouseMove(UINT flags, POINT point) {
    bool inside = false;
    if (m_region) {
        inside = ::PtInRegion(m_region.get(), point.x, point.y) != FALSE;
    } else {
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        inside = ::PtInRect(&client, point) != FALSE;
    }
    if (inside) {
        m_lastMousePoint = point;
        if (::GetCapture() != m_hWnd) {
            m_hover = 1;
            ::SetCapture(m_hWnd);
            RepaintRegion();
        }
    } else if (::GetCapture() == m_hWnd) {
        m_hover = 0;
        ::ReleaseCapture();
        RepaintRegion();
    }
    DefWindowProc(WM_MOUSEMOVE, flags, MAKELPARAM(point.x, point.y));
}

BOOL CSkinButton::OnEraseBkgnd(HDC) {
    return TRUE;  // the pictures cover the button; keyed-out parts show the parent
}

void CSkinButton::OnClicked() {
    const UINT id = static_cast<UINT>(::GetDlgCtrlID(m_hWnd));
    if (id == kCloseId) {
        m_hover = 0;
        // As if the main window's close box had been pressed.
        HWND main = AfxGetMainWnd();
        if (!main) main = ::GetAncestor(m_hWnd, GA_ROOT);
        ::PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
        ::PostMessageA(::GetParent(m_hWnd), WM_UI_BUTTON_CLICKED, id, 0);
        if (IsToggle(m_kind)) m_latched = m_latched ? 0 : 1;
    }
    RepaintRegion();
}

void CSkinButton::DrawItem(LPDRAWITEMSTRUCT item) {
    if (!item || !m_upPicture) return;
    const bool framed = IsFramed(m_kind);

    Gdiplus::Bitmap* first = nullptr;
    Gdiplus::Bitmap* second = nullptr;
    Frame frame = Frame::None;
    if (item->itemState & ODS_DISABLED) {
        m_hover = 0;
        m_latched = 0;
        first = m_disabledPicture.get();
    } else if ((item->itemAction & ODA_SELECT) || (item->itemState & ODS_SELECTED) ||
               m_latched == 1) {
        // A press is reported as a change of the selection (classic buttons)
        // or as a repaint in the pushed state (common controls 6).
        first = m_downPicture.get();
        if (framed) {
            second = m_upPicture.get();
            frame = Frame::Sunken;
        }
    } else if (framed && (item->itemState & ODS_FOCUS)) {
        first = m_upPicture.get();
        frame = Frame::Focused;
    } else if (m_hover == 1) {
        first = m_hoverPicture.get();
    } else {
        first = m_upPicture.get();
        if (framed) frame = Frame::Raised;
    }

    {
        Gdiplus::Graphics graphics(item->hDC);
        Gdiplus::ImageAttributes attributes;
        // Opaque yellow becomes transparent white: the parent shows there.
        Gdiplus::ColorMap yellowToClear{};
        yellowToClear.oldColor = Gdiplus::Color(255, 255, 255, 0);
        yellowToClear.newColor = Gdiplus::Color(0, 255, 255, 255);
        attributes.SetRemapTable(1, &yellowToClear);
        const INT width = static_cast<INT>(m_upPicture->GetWidth());
        const INT height = static_cast<INT>(m_upPicture->GetHeight());
        const INT inset = framed ? kFrameInset : 0;
        for (Gdiplus::Bitmap* picture : {first, second}) {
            if (!picture) continue;
            graphics.DrawImage(picture, Gdiplus::Rect(inset, inset, width, height), 0, 0, width,
                               height, Gdiplus::UnitPixel, &attributes);
        }
    }
    if (frame != Frame::None) {
        DrawFrame(item->hDC, item->rcItem, frame, (item->itemState & ODS_FOCUS) != 0,
                  m_focusPen.get());
    }
}
