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
    // A close request that arrives while a modal dialog runs (the host may ask
    // at any time) first ends the dialogs, then closes once their loops have
    // returned, so no handler is left running on a destroyed window.
    if (CDialog::ModalDepth() > 0) {
        CDialog::EndAllModal(IDCANCEL);
        PostMessage(WM_CLOSE);
        return;
    }
    DestroyWindow();
}
