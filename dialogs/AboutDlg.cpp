#include "dialogs/AboutDlg.h"

#include "framework/LateImports.h"
#include "framework/WinApp.h"
#include "res/Resource.h"
#include "res/Version.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg(CWnd* parent) : CDialog(IDD_ABOUTBOX, parent), m_webLabel(*this) {}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_ABOUT_WEB, m_webLabel);
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ::SetDlgItemTextA(m_hWnd, IDC_ABOUT_VERSION,
                      "Tallyscope Setting Application, Version " TALLYSCOPE_VERSION_TEXT);
    m_webLabel.ResizeNormalFont(-12, FW_NORMAL);
    m_webLabel.ResizeHoverFont(-12, FW_NORMAL);
    m_webLabel.SetLink(1);
    m_webLabel.SetColor(RGB(0, 0, 255));

    m_handCursor = ::LoadCursorA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDC_HAND_CURSOR));
    if (!m_handCursor) m_handCursor = ::LoadCursorA(nullptr, IDC_HAND);
    return TRUE;
}

void CAboutDlg::OnOK() {
    ShowWindow(SW_HIDE);  // the same dialog shows again at its last place
}

void CAboutDlg::OpenWebAddress() {
    fw::ShellExecuteLate(AfxGetMainWnd(), "open", kAboutWebAddress, nullptr, nullptr,
                         SW_SHOWNORMAL);
}

BOOL CAboutDlg::IsOnWebLabel(POINT point) const {
    if (!m_webLabel.m_hWnd) return FALSE;
    RECT label{};
    ::GetWindowRect(m_webLabel.m_hWnd, &label);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&label), 2);
    return ::PtInRect(&label, point);
}

void CAboutDlg::TrackPointer(POINT point) {
    if (IsOnWebLabel(point) && m_handCursor) ::SetCursor(m_handCursor);
}

void CAboutDlg::ReleaseOn(POINT point) {
    if (IsOnWebLabel(point)) OpenWebAddress();
}

void CAboutDlg::OnMouseMove(UINT flags, POINT point) {
    TrackPointer(point);
    DefWindowProc(WM_MOUSEMOVE, flags, MAKELPARAM(point.x, point.y));
}

void CAboutDlg::OnLButtonUp(UINT flags, POINT point) {
    ReleaseOn(point);
    DefWindowProc(WM_LBUTTONUP, flags, MAKELPARAM(point.x, point.y));
}

LRESULT CAboutDlg::CWebLabel::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    const LRESULT result = CLinkStatic::WindowProc(msg, wp, lp);
    if ((msg == WM_MOUSEMOVE || msg == WM_LBUTTONUP) && m_hWnd && m_owner.m_hWnd) {
        POINT point{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        ::MapWindowPoints(m_hWnd, m_owner.m_hWnd, &point, 1);
        if (msg == WM_MOUSEMOVE) {
            m_owner.TrackPointer(point);
        } else {
            m_owner.ReleaseOn(point);
        }
    }
    return result;
}
