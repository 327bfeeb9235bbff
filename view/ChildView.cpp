#include "view/ChildView.h"

BEGIN_MESSAGE_MAP(CChildView, CWnd)
ON_COMMAND_RANGE(103, 104, OnIgnoredCommand)
END_MESSAGE_MAP()

BOOL CChildView::PreCreateWindow(CREATESTRUCTA& cs) {
    if (!CWnd::PreCreateWindow(cs)) return FALSE;
    cs.style &= ~WS_BORDER;
    cs.style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    cs.lpszClass =
        AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                            reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr);
    return TRUE;
}

BOOL CChildView::Create(const char* className, const char* windowName, DWORD style,
                        const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(className, windowName, style, rect, parent, id);
}
