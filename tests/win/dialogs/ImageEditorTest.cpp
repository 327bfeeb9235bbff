#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <vector>

#include "dialogs/ImageEditor.h"
#include "hostlink/HostMessages.h"
#include "res/Resource.h"
#include "tests/win/support/UiTest.h"

namespace {

constexpr int kW = CImageEditor::kWidth;
constexpr int kH = CImageEditor::kHeight;
constexpr BYTE kGrey = 90;

// Keeps what is posted to it in the program's own range.
class Recorder : public CWnd {
  public:
    std::vector<MSG> posted;
    int Count(UINT message, WPARAM wp, LPARAM lp) const {
        int n = 0;
        for (const MSG& m : posted) n += m.message == message && m.wParam == wp && m.lParam == lp;
        return n;
    }

  protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg >= WM_APP && msg < 0xC000) {
            MSG m{};
            m.message = msg;
            m.wParam = wp;
            m.lParam = lp;
            posted.push_back(m);
        }
        return CWnd::WindowProc(msg, wp, lp);
    }
};

bool IsBlue(COLORREF c) {
    return GetBValue(c) > 150 && GetRValue(c) < 100 && GetGValue(c) < 100;
}
bool IsRed(COLORREF c) {
    return GetRValue(c) > 150 && GetGValue(c) < 100 && GetBValue(c) < 100;
}
bool IsGreen(COLORREF c) {
    return c == RGB(0, 255, 0);
}

class ImageEditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        header.bmiHeader = {sizeof(BITMAPINFOHEADER), kW, kH, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        pixels.assign(static_cast<size_t>(kW) * kH * 3, kGrey);
        HWND host = uitest::HostWindow().m_hWnd;
        ASSERT_TRUE(notify.CreateEx(0, "STATIC", "", WS_CHILD, RECT{0, 0, 4, 4}, host, 0));
        ASSERT_TRUE(editor.CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE,
                                    RECT{20, 20, 20 + kW, 20 + kH}, host, 1016));
    }
    void TearDown() override {
        if (::GetCapture()) ::ReleaseCapture();
    }

    void Init(int mode, int tag = 0) {
        editor.Initialize(mode, notify.m_hWnd, &header, pixels.data(), tag);
    }
    void Mouse(UINT msg, int x, int y) {
        editor.SendMessage(msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
    }
    void Click(int x, int y) {
        Mouse(WM_LBUTTONDOWN, x, y);
        Mouse(WM_LBUTTONUP, x, y);
    }
    void Drag(int x1, int y1, int x2, int y2) {
        Mouse(WM_LBUTTONDOWN, x1, y1);
        Mouse(WM_MOUSEMOVE, x2, y2);
        Mouse(WM_LBUTTONUP, x2, y2);
    }
    // Keys go through the pump, which offers them to PreTranslateMessage.
    void Key(WPARAM vk, int times = 1) {
        for (int i = 0; i < times; ++i) editor.PostMessage(WM_KEYDOWN, vk, 0);
        Drain();
    }
    static void Drain() { uitest::PumpUntil(nullptr, 0); }

    // Pixels of the off-screen picture that match.
    int CountPixels(const std::function<bool(COLORREF)>& match) {
        int n = 0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) n += match(::GetPixel(editor.OffscreenDc(), x, y));
        return n;
    }

    BITMAPINFO header{};
    std::vector<BYTE> pixels;
    Recorder notify;
    CImageEditor editor;
};

TEST_F(ImageEditorTest, LineOfSixtyPixelsAsksTheHostShorterDoesNot) {
    const struct {
        int x2, y2;
        bool asks;
    } cases[] = {{70, 10, true}, {69, 10, false}, {46, 58, true}, {45, 58, false}};
    Init(CImageEditor::kModeCountingLine);
    editor.Drawing().SetTool(LineAndMasks::kToolLine);
    for (const auto& c : cases) {
        notify.posted.clear();
        Drag(10, 10, c.x2, c.y2);
        Drain();
        EXPECT_EQ(notify.Count(WM_UI_HOST_REQUEST, 1, 0), c.asks ? 1 : 0) << c.x2 << "," << c.y2;
        EXPECT_EQ(editor.Drawing().DrawnLine().second.x, c.x2);
        EXPECT_FALSE(editor.Drawing().Dragging());
        EXPECT_EQ(::GetCapture(), nullptr);
    }
}

TEST_F(ImageEditorTest, SmallShapesAreIgnored) {
    const struct {
        int tool, w, h;
        bool taken;
    } cases[] = {{LineAndMasks::kToolRectangle, 5, 40, true},
                 {LineAndMasks::kToolRectangle, 5, 5, false},
                 {LineAndMasks::kToolEllipse, 40, 5, true},
                 {LineAndMasks::kToolEllipse, -5, -5, false}};
    Init(CImageEditor::kModeCountingLine);
    for (const auto& c : cases) {
        editor.Drawing().DeleteMask();
        editor.Drawing().SetTool(c.tool);
        Drag(100, 100, 100 + c.w, 100 + c.h);
        EXPECT_EQ(editor.Drawing().Mask() != nullptr, c.taken)
            << c.tool << " " << c.w << "x" << c.h;
    }
}

TEST_F(ImageEditorTest, PolygonClosesInTheSquareAroundTheFirstVertex) {
    Init(CImageEditor::kModeCountingLine);
    editor.Drawing().SetTool(LineAndMasks::kToolPolygon);
    Click(50, 50);
    const RECT square = editor.Drawing().ClosingSquare();
    EXPECT_EQ(square.left, 46);
    EXPECT_EQ(square.bottom, 55);
    Click(54, 54);  // closing at once: nothing to mask, the first vertex stays
    EXPECT_EQ(editor.Drawing().Mask(), nullptr);
    ASSERT_EQ(editor.Drawing().PolygonVertices().size(), 2u);
    EXPECT_EQ(editor.Drawing().PolygonVertices()[0].x, 50);
    Click(150, 50);
    Click(150, 150);
    Mouse(WM_MOUSEMOVE, 120, 130);
    EXPECT_EQ(editor.Drawing().PolygonVertices().back().y, 130)
        << "the last vertex follows the mouse";
    Click(46, 46);
    ASSERT_NE(editor.Drawing().Mask(), nullptr);
    EXPECT_TRUE(::PtInRegion(editor.Drawing().Mask(), 130, 70));
    EXPECT_FALSE(::PtInRegion(editor.Drawing().Mask(), 70, 130));
    EXPECT_TRUE(editor.Drawing().PolygonVertices().empty());
    EXPECT_EQ(::GetCapture(), nullptr);

    Click(200, 200);
    Click(250, 200);
    Click(-10, 5);  // beside the picture: the open polygon is given up
    EXPECT_TRUE(editor.Drawing().PolygonVertices().empty());
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ImageEditorTest, DragLeavingThePictureEndsAtTheLastPointInside) {
    Init(CImageEditor::kModeCountingLine);
    editor.Drawing().SetTool(LineAndMasks::kToolRectangle);
    Mouse(WM_LBUTTONDOWN, 200, 100);
    Mouse(WM_MOUSEMOVE, 300, 200);
    Mouse(WM_MOUSEMOVE, 400, 260);
    EXPECT_FALSE(editor.Drawing().Dragging());
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(editor.Drawing().DrawnLine().second.x, 300);
    EXPECT_EQ(editor.Drawing().DrawnLine().second.y, 200);
    ASSERT_NE(editor.Drawing().Mask(), nullptr);
    EXPECT_TRUE(::PtInRegion(editor.Drawing().Mask(), 250, 150));
    EXPECT_FALSE(::PtInRegion(editor.Drawing().Mask(), 310, 150));
}

TEST_F(ImageEditorTest, PointsModeTakesFourPointsAndKeysStopAtTheEdges) {
    Init(CImageEditor::kModePoints);
    for (int i = 0; i < 5; ++i) Click(10 + 10 * i, 20);
    ASSERT_EQ(editor.Corners().Points().size(), 4u);
    EXPECT_EQ(editor.Corners().Points().back().x, 40);

    const struct {
        POINT from;
        WPARAM key;
        POINT to;
    } cases[] = {{{1, 5}, VK_LEFT, {0, 5}},
                 {{318, 5}, VK_RIGHT, {kW - 1, 5}},
                 {{5, 1}, VK_UP, {5, 0}},
                 {{5, kH - 2}, VK_DOWN, {5, kH - 1}}};
    for (const auto& c : cases) {
        editor.Corners().Clear();
        Click(c.from.x, c.from.y);
        Key(c.key, 3);
        EXPECT_EQ(editor.Corners().Points().back().x, c.to.x) << c.key;
        EXPECT_EQ(editor.Corners().Points().back().y, c.to.y) << c.key;
    }
    EXPECT_TRUE(notify.posted.empty());
    // A dialog leaves the arrows to the picture instead of moving the focus on.
    EXPECT_NE(editor.SendMessage(WM_GETDLGCODE) & DLGC_WANTARROWS, 0);
}

TEST_F(ImageEditorTest, LineWithoutLengthOrDirectionDrawsWhatItCan) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        int x1, y1, x2, y2;
        float angle;
        bool band, arrows;
    } cases[] = {{100, 100, 100, 100, 0.0f, false, false},
                 {-1, 0, 200, 100, 0.0f, false, false},
                 {40, 120, 280, 120, nan, true, false},
                 {40, 120, 280, 120, inf, true, false},
                 {40, 120, 280, 120, 1.57f, true, true}};
    Init(CImageEditor::kModeCountingLine);
    editor.Drawing().SetArrowImages(LoadBitmapResource(::GetModuleHandleA(nullptr), IDB_ARROW_IN),
                                    LoadBitmapResource(::GetModuleHandleA(nullptr), IDB_ARROW_OUT));
    for (const auto& c : cases) {
        editor.Drawing().SetCountingLine(c.x1, c.y1, c.x2, c.y2, c.angle);
        editor.Redraw();
        SCOPED_TRACE(testing::Message() << c.x1 << "," << c.y1 << " angle " << c.angle);
        EXPECT_EQ(CountPixels(IsGreen) > 100, c.band);
        EXPECT_EQ(CountPixels(IsBlue) + CountPixels(IsRed) > 30, c.arrows);
    }
}

TEST_F(ImageEditorTest, TestRegionIsTakenFromTenPixelsOnLeftPictureOnly) {
    const struct {
        int mode, x2, y2;
        bool taken;
    } cases[] = {{CImageEditor::kModeTestLeft, 130, 120, true},
                 {CImageEditor::kModeTestLeft, 70, 80, true},
                 {CImageEditor::kModeTestLeft, 109, 150, false},
                 {CImageEditor::kModeTestRight, 150, 150, false}};
    for (const auto& c : cases) {
        Init(c.mode);
        editor.Test().SetMethod(PickTest::kRegion);
        editor.Test().SetRegion({1, 2, 3, 4});
        notify.posted.clear();
        Drag(100, 100, c.x2, c.y2);
        Drain();
        const RECT r = editor.Test().Region();
        SCOPED_TRACE(testing::Message() << c.mode << " to " << c.x2 << "," << c.y2);
        EXPECT_EQ(notify.Count(WM_UI_SELECTION_CHANGED, 1, c.mode), c.taken ? 1 : 0);
        if (c.taken) {
            EXPECT_EQ(r.left, std::min(100, c.x2));
            EXPECT_EQ(r.bottom, std::max(100, c.y2));
        } else if (c.mode == CImageEditor::kModeTestLeft) {
            EXPECT_TRUE(r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0);
        } else {
            EXPECT_EQ(r.right, 3) << "the right picture ignores region input";
        }
    }
}

TEST_F(ImageEditorTest, TestPointMovesByKeyAndEveryKeyIsReported) {
    Init(CImageEditor::kModeTestRight);
    editor.Test().SetMethod(PickTest::kPoint);
    Click(10, 10);
    Key(VK_LEFT);
    Key('A');
    EXPECT_EQ(editor.Test().Point().x, 9);
    EXPECT_EQ(notify.Count(WM_UI_SELECTION_CHANGED, 0, CImageEditor::kModeTestRight), 3);
}

TEST_F(ImageEditorTest, MarkPointIsPostedWithTheTagAndNeverToANullWindow) {
    Init(CImageEditor::kModeMarkPoint, 1);
    editor.Redraw();
    EXPECT_EQ(CountPixels(IsGreen), 0);  // no cross before the first click
    Click(33, 44);
    Drain();
    EXPECT_EQ(notify.Count(WM_UI_MARK_POINT, 1, 0), 1);
    EXPECT_EQ(editor.Mark().Point().y, 44);
    EXPECT_EQ(CountPixels(IsGreen), 11);  // the cross: 6 across, 6 down, one shared
    EXPECT_EQ(::GetPixel(editor.OffscreenDc(), 35, 44), RGB(0, 255, 0));

    editor.Initialize(CImageEditor::kModeMarkPoint, nullptr, &header, pixels.data(), 1);
    Click(5, 5);
    MSG threadMessage;
    EXPECT_FALSE(::PeekMessageA(&threadMessage, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
}

TEST_F(ImageEditorTest, ToolCursorShowsOverThisControlOnlyUntilRestored) {
    Recorder other;  // another static control of the same class
    ASSERT_TRUE(other.CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, RECT{400, 20, 440, 60},
                               uitest::HostWindow().m_hWnd, 0));
    const HCURSOR tool =
        ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_TOOL_CURSOR));
    ASSERT_NE(tool, nullptr);
    const auto cursorOver = [](CWnd& wnd) {
        ::SetCursor(nullptr);
        wnd.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd.m_hWnd),
                        MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return ::GetCursor();
    };
    Init(CImageEditor::kModeCountingLine);
    editor.ApplyToolCursor();
    EXPECT_EQ(cursorOver(editor), tool);
    EXPECT_NE(cursorOver(other), tool);
    editor.RestoreCursor();
    EXPECT_FALSE(editor.ToolCursorInForce());
    EXPECT_NE(cursorOver(editor), tool);
}

TEST_F(ImageEditorTest, HugePolygonsAndMasksDrawWithoutHarm) {
    Init(CImageEditor::kModeCountingLine);
    editor.Drawing().SetTool(LineAndMasks::kToolPolygon);
    Click(5, 5);
    for (int i = 0; i < 1000; ++i) Click(20 + (i % 100) * 3, 20 + (i / 100) * 20 + i % 7);
    EXPECT_EQ(editor.Drawing().PolygonVertices().size(), 1002u);
    Click(5, 5);
    EXPECT_NE(editor.Drawing().Mask(), nullptr);

    RegionHandle checker(::CreateRectRgn(0, 0, 0, 0));
    for (int y = 0; y < kH; y += 2) {
        for (int x = y % 4; x < kW; x += 4) {
            RegionHandle cell(::CreateRectRgn(x, y, x + 1, y + 1));
            ::CombineRgn(checker.get(), checker.get(), cell.get(), RGN_OR);
        }
    }
    editor.Drawing().SetMask(checker.get());
    editor.Drawing().SetMaskColor(RGB(0, 0, 255));
    editor.Redraw();
    EXPECT_GT(CountPixels(IsBlue), 1000);

    // Without a picture nothing is drawn, but the vertex list still stops growing.
    editor.Initialize(CImageEditor::kModeCountingLine, nullptr, &header, nullptr, 0);
    editor.DiscardPolygon();
    Click(5, 5);
    for (int i = 0; i < static_cast<int>(LineAndMasks::kMaxPolygonVertices) + 10; ++i)
        Click(20 + i % 280, 20 + (i / 280) * 10);
    EXPECT_EQ(editor.Drawing().PolygonVertices().size(), LineAndMasks::kMaxPolygonVertices);
}

TEST_F(ImageEditorTest, PictureOfAnotherSizeShowsOnlyWhatItHas) {
    header.bmiHeader.biWidth = 100;
    header.bmiHeader.biHeight = 50;
    Init(CImageEditor::kModeMarkPoint);
    ::UpdateWindow(editor.m_hWnd);
    editor.Redraw();
    HDC window = ::GetDC(editor.m_hWnd);
    EXPECT_EQ(::GetPixel(window, 50, 25), RGB(kGrey, kGrey, kGrey));
    EXPECT_EQ(::GetPixel(window, 150, 100), RGB(255, 255, 255));
    ::ReleaseDC(editor.m_hWnd, window);
}

}  // namespace
