#pragma once
// A dialog from the test template with a link label (1001) and a picture box
// (1002), placed at fixed pixel sizes on a distinctive background.
#include "controls/LinkStatic.h"
#include "controls/PictureStatic.h"
#include "framework/Dialog.h"
#include "framework/Handles.h"
#include "tests/win/support/UiTest.h"

constexpr UINT kControlsTemplate = 100;
constexpr int kLinkId = 1001;
constexpr int kPictureId = 1002;
// No system colour looks like this: where it shows, nothing was painted.
constexpr COLORREF kDialogBackground = RGB(10, 120, 200);

class ControlsTestDialog : public CDialog {
  public:
    ControlsTestDialog()
        : CDialog(kControlsTemplate), m_background(::CreateSolidBrush(kDialogBackground)) {}

    ~ControlsTestDialog() override { DestroyWindow(); }

    // Creates, places and shows the dialog (a child of the test host);
    // FALSE when the template is missing.
    BOOL Open() {
        if (!Create(kControlsTemplate, &uitest::HostWindow())) return FALSE;
        ::SetWindowPos(m_hWnd, HWND_TOP, 20, 20, 420, 260, SWP_SHOWWINDOW);
        ::MoveWindow(GetDlgItem(kLinkId), 10, 10, 240, 20, TRUE);
        ::MoveWindow(GetDlgItem(kPictureId), 10, 50, 160, 120, TRUE);
        ::UpdateWindow(m_hWnd);
        return TRUE;
    }

    CLinkStatic link;
    CPictureStatic picture;

  protected:
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, kLinkId, link);
        DDX_Control(dx, kPictureId, picture);
    }
    LRESULT OnCtlColorDialog(WPARAM, LPARAM) {
        return reinterpret_cast<LRESULT>(m_background.get());
    }

    DECLARE_MESSAGE_MAP()

  private:
    BrushHandle m_background;
};
