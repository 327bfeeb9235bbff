#pragma once
// The borderless 850 x 600 top-level window. It holds the view, gives it the
// focus and every command first, and remembers its position between runs.
#include "framework/FrameWnd.h"
#include "view/ChildView.h"

class CMainFrame : public CFrameWnd {
  public:
    CMainFrame() = default;
    ~CMainFrame() override = default;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnCmdMsg(UINT id, int code) override;

    CChildView& View() { return m_wndView; }

  protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnSetFocus(HWND oldFocus);
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

  private:
    CChildView m_wndView;
};
