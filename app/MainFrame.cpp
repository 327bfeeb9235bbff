#include "app/MainFrame.h"

#include "app/TallyscopeApp.h"
#include "app/WindowRect.h"
#include "framework/StartupTrace.h"
#include "framework/WinApp.h"

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_MESSAGE(WM_CREATE, OnCreate)
ON_MESSAGE(WM_SETFOCUS, OnSetFocus)
ON_MESSAGE(WM_DESTROY, OnDestroy)
END_MESSAGE_MAP()

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
    if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    cs.style &= ~WS_BORDER;
    cs.lpszClass = AfxRegisterWndClass(0);
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT cs) {
    StartupStep("main window");
    if (CFrameWnd::OnCreate(cs) == -1) return -1;

    // The window is moved by dragging the view's title strip, never through
    // the system menu, and has one fixed size.
    if (HMENU menu = GetSystemMenu(FALSE)) {
        ::EnableMenuItem(menu, 0, MF_BYPOSITION | MF_ENABLED);
        ::DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND);
        ::DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
        ::DeleteMenu(menu, SC_MINIMIZE, MF_BYCOMMAND);
        ::DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
    }

    // The view reads the command line's values through what the application hands it.
    const CMyTallyscopeApp& app = *TallyscopeApp();
    m_wndView.SetStartup({app.m_strModuleFolder, app.HostSettingFolder(), app.m_nCameraID,
                          app.m_hHostWnd, app.m_strLanguageIni});
    const RECT empty{0, 0, 0, 0};
    if (!m_wndView.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, empty, this,
                          AFX_IDW_PANE_FIRST)) {
        return -1;
    }
    return 0;
}

void CMainFrame::OnSetFocus(HWND) {
    if (m_wndView.m_hWnd) m_wndView.SetFocus();
}

BOOL CMainFrame::OnCmdMsg(UINT id, int code) {
    if (m_wndView.m_hWnd && m_wndView.OnCmdMsg(id, code)) return TRUE;
    return CFrameWnd::OnCmdMsg(id, code);
}

void CMainFrame::OnDestroy() {
    RECT rect{};
    GetWindowRect(&rect);
    const std::string text = FormatWindowRect({rect.left, rect.top, rect.right, rect.bottom});
    AfxGetApp()->WriteProfileString("Setting", "WindowRect", text.c_str());
    DefWindowProc(WM_DESTROY, 0, 0);
}
