#pragma once
// The main view: the only child of the main frame and the hub of the program.
#include "framework/Wnd.h"

class CChildView : public CWnd {
  public:
    CChildView() = default;
    ~CChildView() override = default;

    // Creates the window and, when that succeeded, runs the view's set-up.
    BOOL Create(const char* className, const char* windowName, DWORD style, const RECT& rect,
                CWnd* parent, UINT id) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

  protected:
    void OnIgnoredCommand(UINT) {}

    DECLARE_MESSAGE_MAP()
};
