#pragma once
// A top-level frame: keeps its view (the child with the first pane's identifier)
// filling the client area, routes commands, and deletes itself when destroyed.
#include "framework/Wnd.h"

class CFrameWnd : public CWnd {
  public:
    // Creates the frame window; the frame object must live on the heap.
    BOOL Create(const char* className, const char* title, DWORD style, const RECT& rect,
                CWnd* parent = nullptr, const char* menuName = nullptr, DWORD exStyle = 0);
    using CWnd::Create;
    void RecalcLayout();

  protected:
    void PostNcDestroy() override { delete this; }
    int OnCreate(LPCREATESTRUCT cs);
    void OnSize(WPARAM wp, LPARAM lp);
    void OnClose();
    void OnDestroy() {}

    DECLARE_MESSAGE_MAP()
};
