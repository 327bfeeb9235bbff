#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "framework/Handles.h"
#include "framework/WinApp.h"
#include "hostlink/HostMessages.h"
#include "res/Resource.h"
#include "tests/win/support/UiTest.h"
#include "controls/SkinButton.h"

namespace {

using uitest::Capture;
using uitest::CaptureClient;

constexpr COLORREF kParentBackground = RGB(10, 120, 200);
constexpr COLORREF kUp = RGB(200, 30, 30);
constexpr COLORREF kHover = RGB(30, 180, 30);
constexpr COLORREF kDown = RGB(30, 30, 200);
constexpr COLORREF kDisabled = RGB(120, 120, 120);
constexpr COLORREF kYellow = RGB(255, 255, 0);
// A tool picture of the program's resources (compiled into this test).
constexpr UINT kResourcePicture = IDB_TOOL_DRAW_LINE;
constexpr int kPictureWidth = 40;
constexpr int kPictureHeight = 30;
constexpr UINT kMenuButtonId = 101;

// Stands for the view: receives the buttons' notifications.
class TestParent : public CWnd {
  public:
    TestParent() : m_background(::CreateSolidBrush(kParentBackground)) {}
    ~TestParent() override { DestroyWindow(); }

    BOOL Open() {
        const char* cls =
            AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW), m_background.get());
        return CreateEx(0, cls, "parent", WS_CHILD | WS_VISIBLE, RECT{20, 20, 420, 320},
                        uitest::HostWindow().m_hWnd, 0);
    }

    std::vector<WPARAM> clicked;  // WM_UI_BUTTON_CLICKED identifiers, in order

  protected:
    LRESULT OnButtonClicked(WPARAM wp, LPARAM lp) {
        EXPECT_EQ(lp, 0);
        clicked.push_back(wp);
        return 0;
    }

    DECLARE_MESSAGE_MAP()

  private:
    BrushHandle m_background;
};

BEGIN_MESSAGE_MAP(TestParent, CWnd)
ON_MESSAGE(WM_UI_BUTTON_CLICKED, OnButtonClicked)
END_MESSAGE_MAP()

// A picture of one colour with an opaque yellow block in the middle.
uitest::PixelFunction Solid(COLORREF color) {
    return [color](int x, int y) {
        return (x >= 15 && x < 25 && y >= 10 && y < 20) ? kYellow : color;
    };
}

// What a picture pixel looks like on screen: yellow shows the parent.
COLORREF Expected(Gdiplus::Bitmap& picture, int x, int y) {
    Gdiplus::Color color;
    picture.GetPixel(x, y, &color);
    const COLORREF pixel = RGB(color.GetR(), color.GetG(), color.GetB());
    return pixel == kYellow ? kParentBackground : pixel;
}

// Checks the inner pixels of the picture drawn at (offset, offset); the outer
// row and column of a framed picture lie under the frame's fourth ring.
void ExpectPictureShown(const Capture& shown, Gdiplus::Bitmap& picture, int offset) {
    const int width = static_cast<int>(picture.GetWidth());
    const int height = static_cast<int>(picture.GetHeight());
    int mismatches = 0;
    for (int y = 1; y < height - 1 && offset + y < shown.height; ++y) {
        for (int x = 1; x < width - 1 && offset + x < shown.width; ++x) {
            if (shown.At(offset + x, offset + y) != Expected(picture, x, y)) ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

class SkinButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(parent.Open());
        up = WritePicture("up.bmp", kUp);
        hover = WritePicture("hover.bmp", kHover);
        down = WritePicture("down.bmp", kDown);
        disabled = WritePicture("disabled.bmp", kDisabled);
        // The application object, with a main window of its own.
        app = AfxGetApp();
        if (!app) {
            ownApp = std::make_unique<CWinApp>("SkinButtonTest");
            app = ownApp.get();
        }
        previousMain = app->m_pMainWnd;
        ASSERT_TRUE(mainWindow.CreateEx(0, nullptr, "main", WS_CHILD, RECT{0, 0, 10, 10},
                                        uitest::HostWindow().m_hWnd, 0));
        app->m_pMainWnd = &mainWindow;
        reference = LoadBitmapResource(::GetModuleHandleA(nullptr), kResourcePicture);
        ASSERT_NE(reference, nullptr) << "the program's tool picture is compiled in";
        framedWidth = static_cast<int>(reference->GetWidth()) + 2 * CSkinButton::kFrameInset;
        framedHeight = static_cast<int>(reference->GetHeight()) + 2 * CSkinButton::kFrameInset;
    }

    void TearDown() override {
        if (::GetCapture()) ::ReleaseCapture();
        app->m_pMainWnd = previousMain;
        uitest::DropPosted(uitest::HostWindow().m_hWnd, WM_SYSCOMMAND);
    }

    std::string WritePicture(const char* name, COLORREF color) {
        const std::string path = folder.File(name);
        EXPECT_TRUE(uitest::WriteBmp(path, kPictureWidth, kPictureHeight, Solid(color)));
        return path;
    }

    // Creates the button as the view does, at (10, 10) in the parent.
    void CreateButton(CSkinButton& button, UINT id, int width = kPictureWidth,
                      int height = kPictureHeight) {
        ASSERT_TRUE(button.Create("BUTTON", "Menu", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW,
                                  RECT{10, 10, 10 + width, 10 + height}, &parent, id));
        ASSERT_NE(button.m_hWnd, nullptr);
    }

    void LoadFiles(CSkinButton& button) { button.LoadBitmaps(up, hover, down, disabled); }
    // The menu button with its four picture files.
    CSkinButton& MenuButton() {
        CreateButton(menuButton, kMenuButtonId);
        LoadFiles(menuButton);
        return menuButton;
    }

    static void Click(const CSkinButton& button) { ::SendMessageA(button.m_hWnd, BM_CLICK, 0, 0); }

    // Repaints the parent and the button (as an uncovered window would be)
    // and reads the button back.
    static Capture Shown(const CSkinButton& button) {
        ::RedrawWindow(::GetParent(button.m_hWnd), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return CaptureClient(button.m_hWnd);
    }

    TempFolder folder;
    TestParent parent;
    CWnd mainWindow;
    CWinApp* app = nullptr;
    std::unique_ptr<CWinApp> ownApp;
    CWnd* previousMain = nullptr;
    std::string up, hover, down, disabled;
    BitmapPtr reference;  // the resource picture as the button loads it
    int framedWidth = 0;
    int framedHeight = 0;
    CSkinButton menuButton;
};

}  // namespace

TEST_F(SkinButtonTest, PicturesGiveTheRegionAndTheUpPictureWithYellowKeyedOut) {
    CSkinButton& button = MenuButton();
    EXPECT_TRUE(::GetWindowLongPtrA(button.m_hWnd, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    ASSERT_NE(button.GetRegion(), nullptr);
    RECT box{};
    ::GetRgnBox(button.GetRegion(), &box);
    EXPECT_EQ(uitest::Sides(box), (std::array<LONG, 4>{0, 0, kPictureWidth, kPictureHeight}));
    // The window has a region of its own, not the kept copy.
    RegionHandle windowRegion(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(::GetWindowRgn(button.m_hWnd, windowRegion.get()), SIMPLEREGION);
    EXPECT_TRUE(::EqualRgn(windowRegion.get(), button.GetRegion()));

    const Capture shown = Shown(button);
    EXPECT_EQ(shown.At(2, 2), kUp);
    EXPECT_EQ(shown.At(37, 27), kUp);
    EXPECT_EQ(shown.At(20, 15), kParentBackground) << "yellow shows the parent";
    EXPECT_EQ(shown.At(14, 10), kUp);
}

TEST_F(SkinButtonTest, HoverCapturesAndShowsTheHoverPictureUntilLeftOrReset) {
    CSkinButton& button = MenuButton();
    for (bool reset : {false, true}) {
        SCOPED_TRACE(reset ? "reset" : "left");
        ::SendMessageA(button.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 6));
        EXPECT_EQ(button.GetHover(), 1);
        EXPECT_EQ(::GetCapture(), button.m_hWnd);
        EXPECT_EQ(button.GetLastMousePoint().x, 5);
        EXPECT_EQ(button.GetLastMousePoint().y, 6);
        EXPECT_EQ(CaptureClient(button.m_hWnd).At(2, 2), kHover);  // the move repainted it

        ::SendMessageA(button.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(30, 20));
        EXPECT_EQ(button.GetLastMousePoint().x, 30);
        EXPECT_EQ(::GetCapture(), button.m_hWnd);

        if (reset)
            button.ResetHover();
        else  // just past the right edge
            ::SendMessageA(button.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(kPictureWidth, 20));
        EXPECT_EQ(button.GetHover(), 0);
        EXPECT_NE(::GetCapture(), button.m_hWnd);
        EXPECT_EQ(button.GetLastMousePoint().x, 30) << "only points inside are remembered";
        EXPECT_EQ(CaptureClient(button.m_hWnd).At(2, 2), kUp);
    }
}

TEST_F(SkinButtonTest, PressedShowsTheDownPictureAndDisabledTheDisabledOne) {
    CSkinButton& button = MenuButton();
    // A press draws at once, asking for the change of the pressed state.
    ::UpdateWindow(button.m_hWnd);
    ::SendMessageA(button.m_hWnd, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(CaptureClient(button.m_hWnd).At(2, 2), kDown);
    EXPECT_EQ(CaptureClient(button.m_hWnd).At(20, 15), kParentBackground);
    ::SendMessageA(button.m_hWnd, BM_SETSTATE, FALSE, 0);
    // A toggle latched by a click shows the down picture until clicked again.
    button.LoadBitmapResource(kResourcePicture, CSkinButton::kToggle);
    Click(button);
    EXPECT_EQ(Shown(button).At(2, 2), kDown);
    Click(button);
    ExpectPictureShown(Shown(button), *reference, 0);
    // Disabling drops the hover and the latch.
    button.SetLatched(1);
    ::SendMessageA(button.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 6));
    ::EnableWindow(button.m_hWnd, FALSE);
    EXPECT_EQ(Shown(button).At(2, 2), kDisabled);
    EXPECT_EQ(button.GetHover(), 0);
    EXPECT_EQ(button.GetLatched(), 0);
}

TEST_F(SkinButtonTest, ExitButtonClosesTheMainWindowOrElseItsTopWindow) {
    CSkinButton button;
    CreateButton(button, CSkinButton::kCloseId, 24, 24);
    LoadFiles(button);
    ::SendMessageA(button.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 6));
    ASSERT_EQ(button.GetHover(), 1);
    Click(button);
    MSG posted{};
    ASSERT_TRUE(uitest::TakePosted(mainWindow.m_hWnd, WM_SYSCOMMAND, &posted));
    EXPECT_EQ(posted.wParam, static_cast<WPARAM>(SC_CLOSE));
    EXPECT_EQ(button.GetHover(), 0);
    EXPECT_FALSE(uitest::TakePosted(parent.m_hWnd, WM_UI_BUTTON_CLICKED, &posted, 20));

    app->m_pMainWnd = nullptr;
    Click(button);
    ASSERT_TRUE(uitest::TakePosted(uitest::HostWindow().m_hWnd, WM_SYSCOMMAND, &posted));
    EXPECT_EQ(posted.wParam, static_cast<WPARAM>(SC_CLOSE));
}

// The main window's buttons are pressed with the mouse only; a framed tool
// button of a dialog is pressed with Space like any button.
TEST_F(SkinButtonTest, SpacePressesAFramedToolButtonButNeverTheMainWindowsButtons) {
    CSkinButton& button = MenuButton();
    CSkinButton tool;
    CreateButton(tool, 1201, framedWidth, framedHeight);
    tool.LoadBitmapResource(kResourcePicture, CSkinButton::kFramedToggle);
    for (HWND target : {button.m_hWnd, tool.m_hWnd}) {
        ::PostMessageA(target, WM_KEYDOWN, VK_SPACE, 0x00390001);
        ::PostMessageA(target, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u));
    }
    ASSERT_TRUE(uitest::PumpUntil([&] { return !parent.clicked.empty(); }));
    uitest::Pump(100);
    EXPECT_EQ(parent.clicked, (std::vector<WPARAM>{1201}));
    EXPECT_EQ(tool.GetLatched(), 1);
    EXPECT_EQ(::SendMessageA(button.m_hWnd, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    // The mouse still presses it.
    Click(button);
    ASSERT_TRUE(uitest::PumpUntil([&] { return parent.clicked.size() == 2; }));
}

TEST_F(SkinButtonTest, ClickPostsItsIdentifierAndToggleKindsLatch) {
    for (int kind : {CSkinButton::kPush, CSkinButton::kToggle, CSkinButton::kFramedPush,
                     CSkinButton::kFramedToggle}) {
        SCOPED_TRACE(kind);
        CSkinButton button;
        CreateButton(button, 1200 + static_cast<UINT>(kind), framedWidth, framedHeight);
        button.LoadBitmapResource(kResourcePicture, kind);
        EXPECT_EQ(button.GetKind(), kind);
        const bool toggles = kind == CSkinButton::kToggle || kind == CSkinButton::kFramedToggle;
        Click(button);
        EXPECT_EQ(button.GetLatched(), toggles ? 1 : 0);
        Click(button);
        EXPECT_EQ(button.GetLatched(), 0);
        ASSERT_TRUE(uitest::PumpUntil([&] { return parent.clicked.size() == 2; }));
        EXPECT_EQ(parent.clicked[0], 1200u + static_cast<UINT>(kind));
        parent.clicked.clear();
        button.DestroyWindow();
    }
    MSG msg;
    EXPECT_FALSE(uitest::TakePosted(mainWindow.m_hWnd, WM_SYSCOMMAND, &msg, 20))
        << "only the Exit button closes";
}

// A dialog's framed tool button: raised, sunken while pressed, and with a
// black outer ring and the dotted focus ring when it has the focus; the
// picture starts 3 pixels in (without a down picture the up picture shows).
TEST_F(SkinButtonTest, FramedButtonRaisedSunkenAndFocused) {
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF darkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
    enum State { kRaised, kPressed, kFocused };
    const struct {
        State state;
        COLORREF outerTopLeft, outerBottomRight, innerTopLeft;
    } cases[] = {{kRaised, highlight, darkShadow, ::GetSysColor(COLOR_3DLIGHT)},
                 {kPressed, black, black, shadow},
                 {kFocused, black, black, highlight}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        // A dialog template's plain button, as the dialogs subclass it.
        HWND plain = ::CreateWindowExA(0, "BUTTON", "tool", WS_CHILD | WS_VISIBLE, 60, 60,
                                       framedWidth, framedHeight, parent.m_hWnd,
                                       reinterpret_cast<HMENU>(1201), nullptr, nullptr);
        CSkinButton button;
        ASSERT_TRUE(button.SubclassWindow(plain));
        EXPECT_EQ(::GetWindowLongPtrA(plain, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
        button.LoadBitmapResource(kResourcePicture, c.state == kPressed ? CSkinButton::kFramedToggle
                                                                        : CSkinButton::kFramedPush);
        if (c.state == kFocused) ::SetFocus(plain);
        Capture shown = Shown(button);
        if (c.state == kPressed) {
            ::SendMessageA(plain, BM_SETSTATE, TRUE, 0);  // draws at once
            shown = CaptureClient(plain);
        }
        EXPECT_EQ(shown.At(0, 0), c.outerTopLeft);
        EXPECT_EQ(shown.At(framedWidth - 1, framedHeight - 1), c.outerBottomRight);
        EXPECT_EQ(shown.At(1, 1), c.innerTopLeft);
        if (c.state == kFocused) {
            EXPECT_EQ(shown.At(3, 3), black) << "the dotted ring starts with a dot";
        } else {
            ExpectPictureShown(shown, *reference, CSkinButton::kFrameInset);
        }
        ::SetFocus(nullptr);
        button.DestroyWindow();
    }
}

TEST_F(SkinButtonTest, UnreadablePicturesMissingResourcesAndUnknownKinds) {
    CSkinButton button;
    CreateButton(button, kMenuButtonId);
    button.LoadBitmaps(folder.File("missing.bmp"), "", folder.path(), "");
    EXPECT_FALSE(button.HasUpPicture());
    EXPECT_EQ(Shown(button).At(2, 2), kParentBackground);  // nothing drawn...
    Click(button);
    ASSERT_TRUE(uitest::PumpUntil([&] { return parent.clicked.size() == 1; }));  // ... clicks work

    button.LoadBitmapResource(kResourcePicture, CSkinButton::kFramedToggle);
    button.LoadBitmapResource(kResourcePicture, 7);
    EXPECT_EQ(button.GetKind(), CSkinButton::kFramedToggle) << "an unknown kind is refused";
    EXPECT_TRUE(button.HasUpPicture());
    button.LoadBitmapResource(4999, CSkinButton::kPush);
    EXPECT_FALSE(button.HasUpPicture());
    EXPECT_EQ(button.GetKind(), CSkinButton::kPush);
    Shown(button);  // nothing to draw, and nothing breaks
}
