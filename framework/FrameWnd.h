#pragma once
// A top-level frame: keeps its view (the child with the first pane's identifier)
// filling the client area, routes commands, and deletes itself when its window
// is destroyed. The application's main window ends the program when it goes.
#include "framework/Wnd.h"

class CFrameWnd : public CWnd {
  public:
    // Creates the frame window; the frame object must live on the heap. Once
    // created, the window owns the object; a frame whose creation failed
    // stays the caller's to delete.
    BOOL Create(const char* className, const char* title, DWORD style, const RECT& rect,
                CWnd* parent = nullptr, const char* menuName = nullptr, DWORD exStyle = 0);
    using CWnd::Create;
    void RecalcLayout();

  protected:
    void PostNcDestroy() override;
    int OnCreate(LPCREATESTRUCT cs);
    void OnSize(WPARAM wp, LPARAM lp);
    void OnClose();

    DECLARE_MESSAGE_MAP()

  private:
    bool m_ownedByWindow = false;
};
