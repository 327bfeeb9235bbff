#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "dialogs/AboutDlg.h"
#include "hostlink/HostMessages.h"
#include "res/Resource.h"
#include "tests/win/support/UiTest.h"

namespace {

// The About box with the shell call counted instead of made.
class CountingAboutDlg : public CAboutDlg {
  public:
    using CAboutDlg::CAboutDlg;
    int opened = 0;

  protected:
    void OpenWebAddress() override { ++opened; }
};

// One dialog for the whole suite, as the view keeps one for its whole life
// (hiding a top-level window also costs Wine two seconds here).
class AboutDlgTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        about = new CountingAboutDlg(&uitest::HostWindow());
        created = about->Create(IDD_ABOUTBOX, &uitest::HostWindow()) != FALSE;
    }
    static void TearDownTestSuite() {
        delete about;
        about = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(created);
        about->opened = 0;
        if (::GetCapture()) ::ReleaseCapture();
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    }
    void TearDown() override {
        if (::GetCapture()) ::ReleaseCapture();
    }

    // The web label in dialog coordinates; its centre and a point below it.
    static RECT Label() {
        RECT label{};
        ::GetWindowRect(about->WebLabel().m_hWnd, &label);
        ::MapWindowPoints(nullptr, about->m_hWnd, reinterpret_cast<POINT*>(&label), 2);
        return label;
    }
    static POINT LabelCentre() {
        const RECT r = Label();
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    static POINT BelowLabel() { return POINT{Label().left + 2, Label().bottom + 6}; }
    static LPARAM At(POINT p) { return MAKELPARAM(p.x, p.y); }
    static HCURSOR Hand() {
        HCURSOR own = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_CURSOR));
        return own ? own : ::LoadCursorA(nullptr, IDC_HAND);
    }

    static CountingAboutDlg* about;
    static bool created;
};

CountingAboutDlg* AboutDlgTest::about = nullptr;
bool AboutDlgTest::created = false;

}  // namespace

TEST_F(AboutDlgTest, PointerOverTheLabelBecomesAHand) {
    ASSERT_NE(Hand(), nullptr);
    ::SendMessageA(about->m_hWnd, WM_MOUSEMOVE, 0, At(BelowLabel()));
    EXPECT_NE(::GetCursor(), Hand());
    ::SendMessageA(about->m_hWnd, WM_MOUSEMOVE, 0, At(LabelCentre()));
    EXPECT_EQ(::GetCursor(), Hand());
    // The label notifies, so the pointer's messages go to it, and it holds
    // the mouse while hovered: the dialog must still see them.
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    ::SendMessageA(about->WebLabel().m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(::GetCursor(), Hand());
    // Leaving the label ends the hover; the dialog sets no hand out there.
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    ::SendMessageA(about->WebLabel().m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(-20, 40));
    EXPECT_NE(::GetCursor(), Hand());
}

TEST_F(AboutDlgTest, ReleaseOverTheLabelOpensTheWebAddressOnce) {
    ::SendMessageA(about->m_hWnd, WM_LBUTTONUP, 0, At(BelowLabel()));
    EXPECT_EQ(about->opened, 0);
    ::SendMessageA(about->m_hWnd, WM_LBUTTONUP, 0, At(LabelCentre()));
    EXPECT_EQ(about->opened, 1);

    // Through the label itself, which holds the mouse: on release, not on press.
    HWND label = about->WebLabel().m_hWnd;
    ::SendMessageA(label, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    ::SendMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    EXPECT_EQ(about->opened, 1);
    ::SendMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    EXPECT_EQ(about->opened, 2);
    // The label's own notification reaches the dialog and opens nothing more.
    MSG posted{};
    ASSERT_TRUE(uitest::TakePosted(about->m_hWnd, WM_UI_LINK_CLICKED, &posted));
    EXPECT_EQ(posted.wParam, static_cast<WPARAM>(IDC_ABOUT_WEB));
    ::DispatchMessageA(&posted);
    uitest::Pump(20);
    EXPECT_EQ(about->opened, 2);

    // Dragged off while the label holds the mouse: nothing opens.
    ::SendMessageA(label, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    ::SendMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    ::SendMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(-30, 60));
    EXPECT_EQ(about->opened, 2);
}

TEST_F(AboutDlgTest, OkHidesAndTheSameDialogShowsAgainWhereItWas) {
    HWND wnd = about->m_hWnd;
    about->CenterWindow();
    ::SetWindowPos(wnd, nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    about->ShowWindow(SW_SHOW);
    ASSERT_TRUE(::IsWindowVisible(wnd));
    ::SendMessageA(wnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(about->GetDlgItem(IDOK)));
    EXPECT_FALSE(::IsWindowVisible(wnd));
    EXPECT_TRUE(::IsWindow(wnd)) << "never destroyed by OK";
    EXPECT_EQ(about->m_hWnd, wnd);
    about->ShowWindow(SW_SHOW);
    RECT place{};
    ::GetWindowRect(wnd, &place);
    EXPECT_EQ(place.left, 123);
    EXPECT_EQ(place.top, 77);
    ::SendMessageA(wnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(::IsWindowVisible(wnd));
    EXPECT_TRUE(::IsWindow(wnd));
}
