#include "framework/FrameWnd.h"

#include "framework/Dialog.h"
#include "framework/WinApp.h"

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_MESSAGE(WM_CREATE, OnCreate)
ON_MESSAGE(WM_SIZE, OnSize)
ON_MESSAGE(WM_CLOSE, OnClose)
END_MESSAGE_MAP()

BOOL CFrameWnd::Create(const char* className, const char* title, DWORD style, const RECT& rect,
                       CWnd* parent, const char* menuName, DWORD exStyle) {
    HMENU menu = menuName ? ::LoadMenuA(AfxGetInstanceHandle(), menuName) : nullptr;
    const BOOL created =
        CreateEx(exStyle, className, title, style, rect, parent ? parent->m_hWnd : nullptr,
                 reinterpret_cast<UINT_PTR>(menu));
    if (!created && menu) ::DestroyMenu(menu);
    return created;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT) {
    return 0;
}

void CFrameWnd::RecalcLayout() {
    HWND view = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
    if (!view) return;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    ::MoveWindow(view, 0, 0, client.right, client.bottom, TRUE);
}

void CFrameWnd::OnSize(WPARAM, LPARAM) {
    RecalcLayout();
}

void CFrameWnd::OnClose() {
    // A close request that arrives while a modal dialog or a message box runs
    // (the host may ask at any time) must not destroy the window under the
    // handler that runs it: dialogs are ended and the close follows once
    // their loops have returned; a message box is answered by the user first.
    if (AfxMessageBoxDepth() > 0) {
        AfxCloseAfterMessageBoxes();
        return;
    }
    if (CDialog::ModalDepth() > 0) {
        CDialog::EndAllModal(IDCANCEL);
        PostMessage(WM_CLOSE);
        return;
    }
    DestroyWindow();
}
