#include "framework/FrameWnd.h"

#include "framework/ModalLoop.h"
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
    // A window that died during its creation has not deleted this object:
    // the caller still holds it, and deletes it once.
    m_ownedByWindow = created && m_hWnd;
    return created;
}

void CFrameWnd::PostNcDestroy() {
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    if (m_ownedByWindow) delete this;
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
    // A close request that arrives while a modal loop runs (the host may ask
    // at any time) must not destroy the window under the code that runs the
    // loop: the loops are ended and the close follows once they have returned.
    if (fw::ModalLoop::Depth() > 0) {
        fw::ModalLoop::CloseWhenDone(m_hWnd);
        return;
    }
    DestroyWindow();
}
