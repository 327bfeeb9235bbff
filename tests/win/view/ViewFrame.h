#pragma once
// A frame holding the main view, as the main frame does, owned by the test.
#include <windows.h>

#include <utility>

#include "framework/FrameWnd.h"
#include "view/ChildView.h"

class ViewFrame : public CFrameWnd {
  public:
    explicit ViewFrame(ViewStartup startup) { m_view.SetStartup(std::move(startup)); }
    CChildView m_view;

  protected:
    int OnCreate(LPCREATESTRUCT) {
        const RECT empty{0, 0, 0, 0};
        return m_view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, empty, this,
                             AFX_IDW_PANE_FIRST)
                   ? 0
                   : -1;
    }
    void PostNcDestroy() override {}  // the test owns the frame
    DECLARE_MESSAGE_MAP()
};
